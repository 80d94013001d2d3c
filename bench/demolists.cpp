#include "demolists.h"

namespace {

QStringList utf8List(std::initializer_list<const char*> items)
{
    QStringList out;
    out.reserve(qsizetype(items.size()));
    for (const char* item : items) {
        out << QString::fromUtf8(item);
    }
    return out;
}

} // namespace

namespace DemoLists {

const QStringList& maleFirstNames()
{
    static const QStringList names = utf8List(
        {"James",   "John",    "Robert",  "Michael",  "William",  "David",     "Richard",  "Joseph",    "Thomas",
         "Charles", "Daniel",  "Matthew", "Anthony",  "Mark",     "Donald",    "Steven",   "Paul",      "Andrew",
         "Joshua",  "Kenneth", "Kevin",   "Brian",    "George",   "Timothy",   "Ronald",   "Edward",    "Jason",
         "Jeffrey", "Ryan",    "Jacob",   "Gary",     "Nicholas", "Eric",      "Jonathan", "Stephen",   "Larry",
         "Justin",  "Scott",   "Brandon", "Benjamin", "Samuel",   "Gregory",   "Frank",    "Alexander", "Raymond",
         "Patrick", "Jack",    "Dennis",  "Jerry",    "Tyler",    "Aaron",     "Henry",    "Adam",      "Douglas",
         "Nathan",  "Peter",   "Zachary", "Kyle",     "Walter",   "Harold",    "Carl",     "Jeremy",    "Keith",
         "Roger",   "Gerald",  "Ethan",   "Arthur",   "Terry",    "Christian", "Sean",     "Lawrence",  "Austin",
         "Joe",     "Noah",    "Jesse",   "Albert",   "Bryan",    "Billy",     "Bruce",    "Willie",    "Jordan",
         "Dylan",   "Alan",    "Ralph",   "Gabriel",  "Roy",      "Juan",      "Wayne",    "Eugene",    "Logan",
         "Randy",   "Louis",   "Russell", "Vincent",  "Philip",   "Bobby",     "Johnny",   "Bradley",   "Caleb",
         "Elijah",  "Isaac",   "Owen",    "Levi",     "Wyatt",    "Hunter",    "Luke",     "Silas",     "Micah",
         "Ezra",    "Jasper"});
    return names;
}

const QStringList& femaleFirstNames()
{
    static const QStringList names =
        utf8List({"Mary",     "Patricia",  "Jennifer",  "Linda",      "Elizabeth", "Barbara",  "Susan",     "Jessica",
                  "Sarah",    "Karen",     "Lisa",      "Nancy",      "Betty",     "Margaret", "Sandra",    "Ashley",
                  "Kimberly", "Emily",     "Donna",     "Michelle",   "Carol",     "Amanda",   "Dorothy",   "Melissa",
                  "Deborah",  "Stephanie", "Rebecca",   "Sharon",     "Laura",     "Cynthia",  "Kathleen",  "Amy",
                  "Angela",   "Shirley",   "Anna",      "Brenda",     "Pamela",    "Emma",     "Nicole",    "Helen",
                  "Samantha", "Katherine", "Christine", "Debra",      "Rachel",    "Carolyn",  "Janet",     "Catherine",
                  "Maria",    "Heather",   "Diane",     "Ruth",       "Julie",     "Olivia",   "Joyce",     "Virginia",
                  "Victoria", "Kelly",     "Lauren",    "Christina",  "Joan",      "Evelyn",   "Judith",    "Megan",
                  "Andrea",   "Cheryl",    "Hannah",    "Jacqueline", "Martha",    "Gloria",   "Teresa",    "Ann",
                  "Sara",     "Madison",   "Frances",   "Kathryn",    "Janice",    "Jean",     "Abigail",   "Alice",
                  "Judy",     "Sophia",    "Grace",     "Denise",     "Amber",     "Doris",    "Marilyn",   "Danielle",
                  "Beverly",  "Isabella",  "Theresa",   "Diana",      "Natalie",   "Brittany", "Charlotte", "Marie",
                  "Kayla",    "Alexis",    "Lori",      "Ava",        "Lydia",     "Naomi",    "Esther",    "Leah",
                  "Claire",   "Ellie",     "Hazel",     "Violet"});
    return names;
}

const QStringList& maleFirstNamesAccented()
{
    static const QStringList names =
        utf8List({"José",    "Łukasz", "André",  "René",  "Björn", "Jürgen", "Søren",   "Noël",     "Ramón", "Joaquín",
                  "D'Andre", "Jérôme", "Zoltán", "Håkon", "Ðorđe", "Tomáš",  "Nicolás", "Stéphane", "Oísín", "Çağan"});
    return names;
}

const QStringList& femaleFirstNamesAccented()
{
    static const QStringList names = utf8List(
        {"Zoë",     "Renée",      "Chloé", "Åsa",    "Inés",  "Mónica", "Anaïs",  "Françoise", "Brontë", "Dagný",
         "Siobhán", "Małgorzata", "Léa",   "Sinéad", "Agnès", "Jolène", "Maëlle", "Ngọc",      "D'Asia", "Żaneta"});
    return names;
}

const QStringList& lastNames()
{
    static const QStringList names =
        utf8List({"Smith",    "Johnson",   "Williams", "Brown",      "Jones",      "Miller",   "Davis",    "Wilson",
                  "Anderson", "Taylor",    "Thomas",   "Moore",      "Martin",     "Jackson",  "Thompson", "White",
                  "Harris",   "Clark",     "Lewis",    "Robinson",   "Walker",     "Young",    "Allen",    "King",
                  "Wright",   "Scott",     "Hill",     "Green",      "Adams",      "Baker",    "Nelson",   "Carter",
                  "Mitchell", "Roberts",   "Turner",   "Phillips",   "Campbell",   "Parker",   "Evans",    "Edwards",
                  "Collins",  "Stewart",   "Morris",   "Rogers",     "Reed",       "Cook",     "Morgan",   "Bell",
                  "Murphy",   "Bailey",    "Cooper",   "Richardson", "Cox",        "Howard",   "Ward",     "Peterson",
                  "Gray",     "James",     "Watson",   "Brooks",     "Kelly",      "Sanders",  "Price",    "Bennett",
                  "Wood",     "Barnes",    "Ross",     "Henderson",  "Coleman",    "Jenkins",  "Perry",    "Powell",
                  "Long",     "Patterson", "Hughes",   "Flores",     "Washington", "Butler",   "Simmons",  "Foster",
                  "Bryant",   "Alexander", "Russell",  "Griffin",    "Hayes",      "Myers",    "Ford",     "Hamilton",
                  "Graham",   "Sullivan",  "Wallace",  "Woods",      "Cole",       "West",     "Jordan",   "Owens",
                  "Reynolds", "Fisher",    "Ellis",    "Harrison",   "Gibson",     "McDonald", "Cruz",     "Marshall",
                  "Gomez",    "Murray",    "Freeman",  "Wells",      "Webb",       "Simpson",  "Stevens",  "Tucker",
                  "Porter",   "Hunter",    "Hicks",    "Crawford",   "Henry",      "Boyd",     "Mason",    "Kennedy",
                  "Warren",   "Dixon",     "Burns",    "Gordon",     "Shaw",       "Holmes",   "Rice",     "Hunt",
                  "Black",    "Daniels",   "Palmer",   "Mills",      "Grant",      "Knight",   "Ferguson", "Stone",
                  "Hawkins",  "Dunn",      "Perkins",  "Hudson",     "Spencer",    "Stephens", "Pierce",   "Hanson",
                  "Smithers", "Whitaker",  "Pruitt",   "Caldwell",   "McBride",    "Vaughn",   "Hollis",   "Tillman",
                  "Beasley"});
    return names;
}

const QStringList& lastNamesAccented()
{
    static const QStringList names =
        utf8List({"O'Brien",     "D'Angelo",  "O'Neil",  "O'Connor",  "D'Souza",        "O'Malley",     "Ölander",
                  "Müller",      "Núñez",     "García",  "Hernández", "Gómez",          "Søndergaard",  "Dvořák",
                  "Łukasiewicz", "Bjørnstad", "Lefèvre", "Côté",      "Nguyễn",         "Schäfer",      "Jäger",
                  "Ångström",    "Björklund", "Peña",    "Ibáñez",    "Ó Súilleabháin", "Van der Berg", "St. Pierre",
                  "LaFleur",     "Żukowski",  "Šimek"});
    return names;
}

const std::vector<FeaturedFamily>& featuredFamilies()
{
    static const std::vector<FeaturedFamily> families = {
        {QStringLiteral("O'Brien"), QString::fromUtf8("Łukasz"), QString::fromUtf8("Zoë")},
        {QStringLiteral("D'Angelo"), QString::fromUtf8("José"), QString::fromUtf8("Renée")},
        {QString::fromUtf8("Ölander"), QString::fromUtf8("Björn"), QString::fromUtf8("Åsa")},
        {QString::fromUtf8("Müller"), QString::fromUtf8("Jürgen"), QString::fromUtf8("Chloé")},
    };
    return families;
}

const std::vector<Town>& towns()
{
    static const std::vector<Town> list = {
        {QStringLiteral("Cedar Grove"), QStringLiteral("TN"), QStringLiteral("37015"), QStringLiteral("615"), 40},
        {QStringLiteral("Millbrook"), QStringLiteral("TN"), QStringLiteral("37016"), QStringLiteral("615"), 20},
        {QStringLiteral("Harmony Springs"), QStringLiteral("TN"), QStringLiteral("37020"), QStringLiteral("931"), 12},
        {QStringLiteral("Riverbend"), QStringLiteral("TN"), QStringLiteral("37018"), QStringLiteral("931"), 8},
        {QStringLiteral("Bell Creek"), QStringLiteral("KY"), QStringLiteral("42101"), QStringLiteral("270"), 8},
        {QStringLiteral("Fairhaven"), QStringLiteral("KY"), QStringLiteral("42104"), QStringLiteral("270"), 6},
        {QStringLiteral("Walnut Hill"), QStringLiteral("AL"), QStringLiteral("35601"), QStringLiteral("256"), 4},
        {QStringLiteral("Pine Ridge"), QStringLiteral("GA"), QStringLiteral("30701"), QStringLiteral("706"), 2},
    };
    return list;
}

const QStringList& streetNames()
{
    static const QStringList names = utf8List(
        {"Maple",       "Oak",        "Cedar",   "Elm",       "Pine",      "Walnut",   "Hickory",     "Dogwood",
         "Magnolia",    "Willow",     "Church",  "Main",      "Mill",      "Spring",   "Lake",        "River",
         "Hill",        "Ridge",      "Meadow",  "Orchard",   "Chestnut",  "Sycamore", "Poplar",      "Laurel",
         "Holly",       "Birch",      "Cherry",  "Franklin",  "Jefferson", "Madison",  "Lincoln",     "Washington",
         "Jackson",     "Harmony",    "Liberty", "Union",     "Station",   "Depot",    "School",      "College",
         "Academy",     "Forest",     "Valley",  "Brookside", "Creekside", "Old Mill", "Hunters Run", "Fox Chase",
         "Stonebridge", "Shady Grove"});
    return names;
}

const QStringList& streetKinds()
{
    static const QStringList kinds = utf8List(
        {"Street", "Avenue", "Road", "Drive", "Lane", "Court", "Circle", "Pike", "Way", "Trail", "Place", "Boulevard"});
    return kinds;
}

// Domains under the reserved .example top-level name: no real mailbox is ever named.
const QStringList& emailDomains()
{
    static const QStringList domains =
        utf8List({"mail.example", "inbox.example", "post.example", "netmail.example", "cedargrove.example"});
    return domains;
}

const std::vector<Job>& jobs()
{
    static const std::vector<Job> list = [] {
        const std::initializer_list<std::pair<const char*, const char*>> pairs = {
            {"Teacher", "Cedar Grove Elementary"},
            {"Teacher", "Millbrook High School"},
            {"Registered Nurse", "Millbrook Regional Hospital"},
            {"Physician", "Millbrook Regional Hospital"},
            {"Pharmacist", "Harmony Springs Pharmacy"},
            {"Accountant", "Tri-County Bank"},
            {"Bank Teller", "Tri-County Bank"},
            {"Loan Officer", "First Farmers Savings"},
            {"Engineer", "Riverbend Manufacturing"},
            {"Machinist", "Riverbend Manufacturing"},
            {"Plant Manager", "Bell Creek Tool & Die"},
            {"Electrician", "Self-employed"},
            {"Plumber", "Hollis & Sons Plumbing"},
            {"Carpenter", "Self-employed"},
            {"Farmer", "Self-employed"},
            {"Truck Driver", "Southern Freight Lines"},
            {"Mechanic", "Dunn's Auto Repair"},
            {"Sales Associate", "Harmon's Hardware"},
            {"Store Manager", "Cedar Grove Market"},
            {"Office Manager", "Pruitt Insurance Agency"},
            {"Insurance Agent", "Pruitt Insurance Agency"},
            {"Attorney", "Caldwell & Vaughn"},
            {"Paralegal", "Caldwell & Vaughn"},
            {"Software Developer", "Bluegrass Data Systems"},
            {"Police Officer", "Cedar Grove Police Department"},
            {"Firefighter", "Millbrook Fire Department"},
            {"Postal Carrier", "U.S. Postal Service"},
            {"Dental Hygienist", "Whitaker Family Dentistry"},
            {"Social Worker", "County Family Services"},
            {"Librarian", "Cedar Grove Public Library"},
            {"Chef", "The Depot Café"},
            {"Hair Stylist", "Shear Grace Salon"},
            {"Real Estate Agent", "Hometown Realty"},
            {"Homemaker", ""},
            {"Pastor", "Cedar Grove Community Church"},
        };
        std::vector<Job> out;
        for (const auto& [occupation, place] : pairs) {
            out.push_back({QString::fromUtf8(occupation), QString::fromUtf8(place)});
        }
        return out;
    }();
    return list;
}

const QStringList& hobbies()
{
    static const QStringList list = utf8List(
        {"Gardening",   "Fishing", "Quilting", "Woodworking", "Reading",       "Golf",    "Hiking",   "Baking",
         "Photography", "Singing", "Hunting",  "Crafts",      "Bird watching", "Cooking", "Knitting", "Camping",
         "Genealogy",   "Piano",   "Guitar",   "Softball",    "Running",       "Canning", "Antiques", "Painting"});
    return list;
}

const QStringList& previousChurches()
{
    static const QStringList list = utf8List(
        {"First Baptist Church of Millbrook", "Grace Methodist Church", "St. Mary's Catholic Church",
         "Bell Creek Church of Christ", "New Hope Fellowship", "Calvary Presbyterian Church", "Harmony Springs Baptist",
         "Riverbend Community Church", "Trinity Lutheran Church", "Walnut Hill Assembly", "Pine Ridge Chapel"});
    return list;
}

const QStringList& personNotes()
{
    static const QStringList list = utf8List(
        {"Prefers to be called by middle name.", "Homebound; receives the bulletin by mail.",
         "Allergic to peanuts.\nHelps in the nursery on the second Sunday.", "Hospital visit requested.",
         "Moved here from Ohio; wants to join the choir.", "Doesn't drive at night; needs a ride on Wednesdays.",
         "Sings in the praise team.", "Retired missionary (Kenya, 1978-1995).", "Deaf; uses the interpreter section.",
         "Spanish speaker: \"habla español\"."});
    return list;
}

const QStringList& outsideOrganizations()
{
    static const QStringList list =
        utf8List({"Gideons", "Rotary Club", "Habitat for Humanity volunteer", "PTA", "Lions Club",
                  "Volunteer fire department", "4-H leader", "Hospital auxiliary"});
    return list;
}

const QStringList& prospectSources()
{
    static const QStringList list =
        utf8List({"Visitor card", "Referred by a member", "Vacation Bible School", "Community fall festival",
                  "New resident list", "Wedding guest", "Walk-in", "Easter musical", "Upward basketball"});
    return list;
}

const QStringList& contactNotes()
{
    static const QStringList list = utf8List(
        {"Visited at home; very friendly.", "Left a card on the door.", "Asked about the children's programs.",
         "Wants to know more about baptism.", "Not home; will try again.", "Talked about the Wednesday night meal.",
         "Interested in the choir.", "Moved here from out of state; looking for a church home.",
         "Wasn't home, left a note with a neighbor.",
         "Had a long talk on the porch.\nPrayer request: mother's surgery.",
         "Said they've been visiting other churches too.", ""});
    return list;
}

const QStringList& prospectNotes()
{
    static const QStringList list =
        utf8List({"Came with the Whitakers.", "Has two small children.", "Recently retired.",
                  "Works most Sundays; Wednesday nights are better.", "Grandmother is a member.",
                  "Interested in the youth group for their teenager.", ""});
    return list;
}

} // namespace DemoLists
