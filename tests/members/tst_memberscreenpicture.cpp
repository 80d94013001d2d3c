#include "memberscreenfixture.h"

// The member's picture: scaled, shown, written only on save, and what happens when it cannot be read or written.
class TestMemberScreenPicture : public MemberScreenFixture
{
    Q_OBJECT

private slots:
    void init() { setUp(); }
    void cleanup() { tearDown(); }

    void pictureIsScaledShownAndWrittenOnlyOnSave_data();
    void pictureIsScaledShownAndWrittenOnlyOnSave();
    void fileThatIsNoPictureChangesNothing();
    void unwritablePictureStillSavesThePerson();
};

void TestMemberScreenPicture::pictureIsScaledShownAndWrittenOnlyOnSave_data()
{
    QTest::addColumn<QSize>("original");
    QTest::addColumn<QString>("fileName");
    QTest::addColumn<QSize>("shown");
    QTest::newRow("landscape png") << QSize(400, 300) << "wide.png" << QSize(165, 124);
    QTest::newRow("portrait jpg, two dots, upper case") << QSize(300, 400) << "tall.photo.JPG" << QSize(124, 165);
    QTest::newRow("square bmp") << QSize(240, 240) << "square.bmp" << QSize(165, 165);
}

void TestMemberScreenPicture::pictureIsScaledShownAndWrittenOnlyOnSave()
{
    QFETCH(QSize, original);
    QFETCH(QString, fileName);
    QFETCH(QSize, shown);
    const QString source = m_testDb->folder() + "/" + fileName;
    QImage image(original, QImage::Format_RGB32);
    image.fill(Qt::darkCyan);
    QVERIFY(image.save(source, QFileInfo(fileName).suffix().toLower().toLatin1()));
    const QDir pictures(m_context->config().pictureFolder);

    fillRequired("Ann", "Archer");
    FileDialogs::setNextFileName(source);
    click("btnLoadPic");
    QCOMPARE(FileDialogs::takeAsked(), QStringList{"Select Image"});
    QCOMPARE(find<QLabel>("imgPic")->pixmap().size(), shown);
    const QString extension = QFileInfo(fileName).suffix();
    QCOMPARE(m_screen->state().pendingPicture()->extension, extension);
    QCOMPARE(pictures.entryList(QDir::Files), QStringList());

    click("btnSaveNew");
    const qint64 id = m_screen->shownMemberId();
    const QString stored = QString::number(id) + "." + extension;
    QCOMPARE(db().scalar("SELECT Picture FROM Member WHERE ID = ?", {id}).toString(), stored);
    QCOMPARE(pictures.entryList(QDir::Files), QStringList{stored});
    QCOMPARE(QImage(pictures.filePath(stored)).size(), shown);
    QVERIFY(!m_screen->state().pendingPicture());

    // Shown later from the file.
    click("btnNew");
    QVERIFY(find<QLabel>("imgPic")->pixmap().isNull());
    m_screen->loadMember(id);
    QCOMPARE(find<QLabel>("imgPic")->pixmap().size(), shown);
    // A missing file shows nothing and says nothing.
    QVERIFY(QFile::remove(pictures.filePath(stored)));
    m_screen->loadMember(id);
    QVERIFY(find<QLabel>("imgPic")->pixmap().isNull());
    QCOMPARE(MessageLog::takeShown().size(), 0);
}

void TestMemberScreenPicture::fileThatIsNoPictureChangesNothing()
{
    const QString picture = m_testDb->folder() + "/good.png";
    QImage image(200, 100, QImage::Format_RGB32);
    image.fill(Qt::red);
    QVERIFY(image.save(picture));
    const QString notPicture = m_testDb->folder() + "/letter.png";
    QFile file(notPicture);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("Dear friends, ...");
    file.close();

    fillRequired("Ann", "Archer");
    FileDialogs::setNextFileName(picture);
    click("btnLoadPic");
    FileDialogs::setNextFileName(notPicture);
    click("btnLoadPic");
    const auto shown = MessageLog::takeShown();
    QCOMPARE(shown.size(), 1);
    QVERIFY(shown.first().text.contains("letter.png"));
    QCOMPARE(m_screen->state().pendingPicture()->extension, QString("png"));
    QCOMPARE(find<QLabel>("imgPic")->pixmap().size(), QSize(165, 83));
    // Cancelling changes nothing either.
    FileDialogs::setNextFileName(QString());
    click("btnLoadPic");
    QCOMPARE(m_screen->state().pendingPicture()->extension, QString("png"));
    QCOMPARE(MessageLog::takeShown().size(), 0);
}

void TestMemberScreenPicture::unwritablePictureStillSavesThePerson()
{
    delete m_screen;
    m_screen = nullptr;
    AppConfig config = m_context->config();
    config.pictureFolder = m_testDb->folder() + "/missing folder/";
    auto context = std::make_unique<AppContext>(m_testDb->open(), config, m_clock);
    context->setUser({1, "Admin", "clerk"});
    m_context.swap(context);
    openScreen();

    const QString picture = m_testDb->folder() + "/good.png";
    QImage image(200, 100, QImage::Format_RGB32);
    image.fill(Qt::red);
    QVERIFY(image.save(picture));
    fillRequired("Ann", "Archer");
    FileDialogs::setNextFileName(picture);
    click("btnLoadPic");
    click("btnSaveNew");
    const auto shown = MessageLog::takeShown();
    QCOMPARE(shown.size(), 1);
    QCOMPARE(shown.first().title, QString("Picture Not Saved"));
    QVERIFY(shown.first().text.contains("missing folder"));
    const qint64 id = m_screen->shownMemberId();
    QVERIFY(id > 0);
    QCOMPARE(db().scalar("SELECT Last_Name FROM Member WHERE ID = ?", {id}), QVariant("Archer"));
    QVERIFY(db().scalar("SELECT Picture FROM Member WHERE ID = ?", {id}).isNull());
    // The picture still waits, so the next save tries again.
    QCOMPARE(m_screen->state().pendingPicture()->extension, QString("png"));
}

QTEST_MAIN(TestMemberScreenPicture)
#include "tst_memberscreenpicture.moc"
