#pragma once

// Loads the program's text catalogue into the running application: the one for the user's language when the
// program has it, else the English one, which gives the singular and plural forms of counted texts ("1
// household", "2 households"). Call once the application object exists.
void installTranslations();
