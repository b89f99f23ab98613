#include "about/AboutBox.h"
#include "about/ArchivePicture.h"
#include "about/CreditsImage.h"
#include "about/CreditsView.h"
#include "about/HelpCommands.h"
#include "about/ManualLocation.h"
#include "about/SplashWindow.h"
#include "about/StartupSplash.h"
#include "app/CommandId.h"
#include "app/DialogUnits.h"
#include "app/MainWindow.h"
#include "archive/ArchiveTestFiles.h"
#include "archive/ResourceArchive.h"
#include "support/TempSettings.h"
#include "support/WindowTesting.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QGuiApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

using namespace ombrel;
using test::withModals;

namespace {

const QString programArchive = QStringLiteral(OMBREL_PROGRAM_DIR "/ombrel.omf");

// Checks a message box and presses its OK button.
std::function<void(QWidget*)> answerBox(const QString& title, const QString& text) {
    return [title, text](QWidget* modal) {
        auto* box = qobject_cast<QMessageBox*>(modal);
        ASSERT_NE(box, nullptr) << modal->metaObject()->className();
        EXPECT_EQ(box->windowTitle(), title);
        EXPECT_EQ(box->text(), text);
        box->button(QMessageBox::Ok)->click();
    };
}
const auto missingPicture = answerBox(QString(), QStringLiteral("getfile returned null"));

// Where the splash's template puts it, at its size.
QRect splashTemplate() {
    const QRect work = QGuiApplication::primaryScreen()->availableGeometry();
    const QSize size(DialogUnits(QApplication::font()).x(186),
                     DialogUnits(QApplication::font()).y(90));
    return {work.topLeft() +
                QPoint((work.width() - size.width()) / 2, (work.height() - size.height()) / 2),
            size};
}

QImage frameOf(QWidget& widget) {
    return widget.grab().toImage().convertToFormat(QImage::Format_RGB32);
}

// The colours of image other than white.
QSet<QRgb> inkIn(const QImage& image) {
    QSet<QRgb> ink;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if ((image.pixel(x, y) | 0xFF000000) != 0xFFFFFFFF) {
                ink.insert(image.pixel(x, y) | 0xFF000000);
            }
        }
    }
    return ink;
}

} // namespace

TEST(CreditsImage, AHeadingIsBlueAndBodyTextBlackInTheirRows) {
    const QImage image = renderCredits(QStringLiteral("\tOmbrel Heading\nBody text"));
    ASSERT_EQ(image.size(), QSize(220, 300));
    EXPECT_TRUE(inkIn(image.copy(0, 0, 220, 20)).contains(qRgb(16, 140, 231)));
    EXPECT_TRUE(inkIn(image.copy(0, 20, 220, 14)).contains(qRgb(0, 0, 0)));
    EXPECT_TRUE(inkIn(image.copy(0, 34, 220, 266)).isEmpty());
}

TEST(CreditsView, FramesShowTheTextBandCombinedByAndAndRestart) {
    QImage background(330, 340, QImage::Format_RGB32);
    background.fill(qRgb(0xF0, 0xE8, 0xD8));
    const QImage text = renderCredits(QStringLiteral("\tOmbrel\nline"));
    CreditsView view(background, text);
    EXPECT_EQ(frameOf(view), background) << "the text starts below the band";
    for (int i = 0; i < 100; ++i) {
        view.tick();
    }
    const QImage frame = frameOf(view);
    EXPECT_NE(frame, background);
    EXPECT_EQ(frame.copy(0, 0, 330, 220), background.copy(0, 0, 330, 220));
    for (int y = 0; y < 99; ++y) {
        for (int x = 0; x < 220; ++x) {
            const QRgb expected = (background.pixel(100 + x, 220 + y) & text.pixel(x, y));
            ASSERT_EQ(frame.pixel(100 + x, 220 + y), expected) << x << "," << y;
        }
    }
}

TEST(ArchivePicture, DecodesOnlyFromTheMembersBytes) {
    QFile file(QStringLiteral(OMBREL_SOURCE_DIR "/resources/archive/images/splash.bmp"));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray splash = file.readAll();
    QByteArray lying = splash.left(200);
    lying[2] = '\xff'; // bfSize and the size of the pixels claim far more than there is
    test::TempFiles files;
    const auto archive = ResourceArchive::open(
        files.write(u"a.omf"_qs, test::archiveOf({{"good.bmp", splash},
                                                  {"short.bmp", splash.left(60)},
                                                  {"lying.bmp", lying},
                                                  {"text.bmp", "not a picture"}})));
    ASSERT_TRUE(archive);
    EXPECT_EQ(decodeBmpMember(*archive, "good.bmp").size(), QSize(300, 150));
    for (const char* name : {"missing.bmp", "short.bmp", "text.bmp"}) {
        EXPECT_TRUE(decodeBmpMember(*archive, name).isNull()) << name;
    }
    decodeBmpMember(*archive, "lying.bmp"); // whatever comes out, nothing past the member is read
    EXPECT_TRUE(loadArchivePicture(files.path(u"none.omf"_qs), "good.bmp").isNull());
}

TEST(Splash, AFramelessTopMostPictureForThreeAndAHalfSecondsAndNothingElseFromTheProgramArchive) {
    QElapsedTimer clock;
    clock.start();
    QRect shown;
    bool sawOther = false;
    QTimer probe;
    QObject::connect(&probe, &QTimer::timeout, [&] {
        QWidget* modal = QApplication::activeModalWidget();
        if (qobject_cast<SplashWindow*>(modal)) {
            EXPECT_TRUE(
                modal->windowFlags().testFlags(Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint));
            shown = QRect(modal->pos(), modal->size());
        } else if (modal) {
            sawOther = true;
            modal->close();
        }
    });
    probe.start(100);
    EXPECT_TRUE(passStartupSplash(programArchive, true));
    EXPECT_TRUE(clock.elapsed() >= 3400 && clock.elapsed() < 6500) << clock.elapsed();
    EXPECT_FALSE(sawOther);
    // Sized to the picture, placed as the template would be.
    EXPECT_EQ(shown, QRect(splashTemplate().topLeft(), QSize(300, 150)));
}

TEST(Splash, MissingArchiveRefusesTheStartAndMissingPictureIsTold) {
    test::TempFiles files;
    const QString corrupt = QStringLiteral(
        "It appears that the installation for Ombrel is corrupt.\n\n  Please reinstall the "
        "software to continue to use it.");
    bool passed = true;
    withModals({answerBox(QStringLiteral("Ombrel"), corrupt)},
               [&] { passed = passStartupSplash(files.path(u"ombrel.omf"_qs), false); });
    EXPECT_FALSE(passed);

    // An archive without the picture: told with an empty caption, then an empty splash.
    const QString bare = files.write(u"ombrel.omf"_qs, test::archiveOf({{"config.xml", "<a/>"}}));
    withModals({missingPicture,
                [](QWidget* modal) {
                    ASSERT_NE(qobject_cast<SplashWindow*>(modal), nullptr);
                    EXPECT_EQ(QRect(modal->pos(), modal->size()), splashTemplate());
                    qobject_cast<QDialog*>(modal)->accept();
                }},
               [&] { passed = passStartupSplash(bare, true); });
    EXPECT_TRUE(passed);
    // A box left up past the splash's time: the splash ends at once after it, never hangs.
    QTimer guard;
    guard.setSingleShot(true);
    QObject::connect(&guard, &QTimer::timeout, [] {
        if (auto* splash = qobject_cast<SplashWindow*>(QApplication::activeModalWidget())) {
            splash->reject();
        }
    });
    guard.start(9000);
    QElapsedTimer clock;
    clock.start();
    withModals({[](QWidget* modal) {
                   QTest::qWait(SplashWindow::displayMilliseconds + 200);
                   missingPicture(modal);
               }},
               [&] { passed = passStartupSplash(bare, true); });
    EXPECT_LT(clock.elapsed(), SplashWindow::displayMilliseconds + 1500);

    // The about box tells it the same way and shows an empty white picture.
    AboutBox empty(bare, QString());
    withModals({missingPicture, [](QWidget* modal) { qobject_cast<QDialog*>(modal)->accept(); }},
               [&] { empty.exec(); });
    EXPECT_TRUE(inkIn(frameOf(*empty.creditsView())).isEmpty());
}

TEST(HelpAndLinks, CommandsOpenTheManualTheConfiguredAddressesOnlyAndTheAboutBox) {
    test::SchemeCatcher catcher({"http", "https", "file", "mailto", "ftp"});
    test::TempSettings temp;
    MainWindowSetup setup{{}, temp.store(), QString(), {}, {}};
    setup.config.loadText("<c><WebsiteURL> https://ombrel.example.org/ </WebsiteURL>"
                          "<ForumURL>file:///etc/passwd</ForumURL>"
                          "<Credits>\\tCredits</Credits></c>");
    MainWindow window(std::move(setup));
    window.dispatchCommand(IdWebsite);
    window.dispatchCommand(IdForum); // refused: not a web address (see OpenableAddress)
    ASSERT_EQ(catcher.urls.size(), 1);
    EXPECT_EQ(catcher.urls[0], QUrl(QStringLiteral("https://ombrel.example.org/")));

    QTemporaryDir dir;
    QDir(dir.path()).mkpath(QStringLiteral("manual"));
    QFile page(dir.filePath(QStringLiteral("manual/index.html")));
    ASSERT_TRUE(page.open(QIODevice::WriteOnly));
    EXPECT_TRUE(openHelp({dir.path(), QString()}));
    ASSERT_EQ(catcher.urls.size(), 2);
    EXPECT_EQ(catcher.urls[1], QUrl::fromLocalFile(QFileInfo(page).absoluteFilePath()));

    // Nothing to open an address with, or no manual: told, naming what failed.
    QDesktopServices::unsetUrlHandler(QStringLiteral("https"));
    window.dispatchCommand(IdWebsite);
    EXPECT_FALSE(openHelp({QDir::tempPath() + u"/no-such-folder"_qs, QString()}, &window));
    const std::pair<const char*, QString> told[] = {
        {"addressNotOpenedBox", u"https://ombrel.example.org/"_qs},
        {"manualNotFoundBox", u"The user manual was not found."_qs}};
    for (const auto& [name, text] : told) {
        auto* box = window.findChild<QMessageBox*>(QString::fromLatin1(name));
        ASSERT_NE(box, nullptr) << name;
        EXPECT_TRUE(box->text().contains(text)) << box->text().toStdString();
        box->close();
    }

    // About from the Help menu scrolls the credits; the tray's shows the picture alone.
    const QString before = QDir::currentPath();
    QDir::setCurrent(QStringLiteral(OMBREL_PROGRAM_DIR)); // where the archive is found first
    for (const int id : {IdAbout, IdTrayAbout}) {
        bool ticking = false;
        test::whileOpen<AboutBox>([&] { window.dispatchCommand(id); },
                                  [&](AboutBox& box) {
                                      EXPECT_EQ(box.windowTitle(), QStringLiteral("About Ombrel"));
                                      auto* ok = box.findChild<QPushButton*>();
                                      EXPECT_TRUE(ok->y() >= 340 &&
                                                  box.rect().contains(ok->geometry()));
                                      QTest::qWait(120);
                                      ticking = box.creditsView()->scroll().bandTop() < 320;
                                      box.accept();
                                  });
        EXPECT_EQ(ticking, id == IdAbout) << id;
    }
    QDir::setCurrent(before);
}
