#include "reports/help_window.h"

#include "app/main_window.h"
#include "tests/support/test_support.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QMenu>
#include <QMenuBar>
#include <QPointer>
#include <QPushButton>
#include <QRegularExpression>
#include <QScrollBar>
#include <QSet>
#include <QStringDecoder>
#include <QTest>
#include <QTextBlock>
#include <QTextBrowser>
#include <QTextDocument>

#include <gtest/gtest.h>

#include <functional>

namespace tv {
namespace {

const QString kShippedHelp = QStringLiteral(TOURNEVENT_SHIPPED_DATA_DIR "/aide");

// A link, an anchor or a picture of the manual as the browser laid it out.
struct Piece {
    QString text;
    int position = 0; // inside the piece, so that a cursor there sits on it
};

struct Contents {
    QMap<QString, Piece> links; // href -> first piece carrying it
    QStringList hrefs;          // every href, in order
    QSet<QString> anchors;
    QList<QTextImageFormat> images;
};

Contents contentsOf(const QTextDocument& document)
{
    Contents out;
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            const QTextCharFormat format = fragment.charFormat();
            for (const QString& name : format.anchorNames())
                out.anchors.insert(name);
            if (format.isAnchor() && !format.anchorHref().isEmpty()) {
                out.hrefs << format.anchorHref();
                if (!out.links.contains(format.anchorHref()))
                    out.links.insert(format.anchorHref(), {fragment.text(), fragment.position() + 1});
            }
            if (format.isImageFormat())
                out.images << format.toImageFormat();
        }
    }
    return out;
}

// The whole text with runs of white space made one space, as a reader sees it.
QString readable(const QString& text)
{
    return text.simplified();
}

class HelpWindowTest : public ::testing::Test {
protected:
    HelpWindow* open()
    {
        auto* w = new HelpWindow(fx.services());
        windows.emplace_back(w);
        return w;
    }
    // The top of the anchor's block, in the browser's viewport.
    static int anchorTop(QTextBrowser* browser, const QString& anchor)
    {
        for (QTextBlock block = browser->document()->begin(); block.isValid(); block = block.next()) {
            for (auto it = block.begin(); !it.atEnd(); ++it) {
                if (it.fragment().charFormat().anchorNames().contains(anchor)) {
                    QTextCursor cursor(browser->document());
                    cursor.setPosition(it.fragment().position());
                    return browser->cursorRect(cursor).top();
                }
            }
        }
        ADD_FAILURE() << "no anchor " << anchor.toStdString();
        return -1;
    }

    test::Fixture fx;
    std::vector<std::unique_ptr<QWidget>> windows;
};

TEST_F(HelpWindowTest, OpensTheShippedManualAtItsContents)
{
    fx.dir.installShippedData();
    HelpWindow* w = open();
    w->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(w));

    EXPECT_TRUE(w->loaded());
    EXPECT_EQ(w->windowTitle(), QStringLiteral("Mode d'emploi"));
    QTextBrowser* browser = w->browser();
    EXPECT_EQ(browser->documentTitle(), QStringLiteral("Tournevent — Mode d'emploi"));
    EXPECT_TRUE(browser->toPlainText().startsWith(QStringLiteral("Tournevent — Mode d'emploi")));
    EXPECT_EQ(browser->source(), QUrl::fromLocalFile(HelpWindow::manualPath(fx.dir.path())));

    // The table of contents is in view, under the title.
    const int top = anchorTop(browser, HelpWindow::contentsAnchor());
    EXPECT_GE(top, 0);
    EXPECT_LT(top, browser->viewport()->height() / 2);
    EXPECT_TRUE(fx.dialogs.shown().isEmpty());
}

TEST_F(HelpWindowTest, ShowsTheCopyOfTheProgramDirectory)
{
    ASSERT_TRUE(QDir().mkpath(fx.dir.file("aide")));
    fx.dir.write("aide/index.html", "<html><head><title>Essai</title></head><body><p>Copie locale</p></body></html>");
    HelpWindow* w = open();
    EXPECT_TRUE(w->loaded());
    EXPECT_EQ(w->browser()->documentTitle(), "Essai");
    EXPECT_EQ(readable(w->browser()->toPlainText()), "Copie locale");
}

TEST_F(HelpWindowTest, EveryInternalLinkHasItsAnchor)
{
    fx.dir.installShippedData();
    HelpWindow* w = open();
    const Contents c = contentsOf(*w->browser()->document());

    ASSERT_GE(c.hrefs.size(), 30);
    for (const QString& href : c.hrefs) {
        SCOPED_TRACE(href.toStdString());
        // Only links inside the manual: the window opens no other document.
        ASSERT_TRUE(href.startsWith(QLatin1Char('#')));
        EXPECT_TRUE(c.anchors.contains(href.mid(1)));
    }
    // Every chapter is reachable from the table of contents.
    for (const char* chapter : {"presentation", "installation", "station", "sessions", "saisie", "correction", "grille",
                                "nomenclature", "comptes-rendus", "reglement", "cli", "fichiers", "problemes"}) {
        SCOPED_TRACE(chapter);
        EXPECT_TRUE(c.links.contains(QLatin1Char('#') + QLatin1String(chapter)));
    }
}

TEST_F(HelpWindowTest, ClickingALinkGoesToItsChapterAndTheButtonsComeBack)
{
    fx.dir.installShippedData();
    HelpWindow* w = open();
    w->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(w));
    QTextBrowser* browser = w->browser();
    auto* back = w->findChild<QPushButton*>("Retour");
    auto* contents = w->findChild<QPushButton*>("Sommaire");
    ASSERT_NE(back, nullptr);
    ASSERT_NE(contents, nullptr);
    EXPECT_FALSE(back->isEnabled());

    const Contents c = contentsOf(*browser->document());
    ASSERT_TRUE(c.links.contains("#problemes"));
    QTextCursor cursor(browser->document());
    cursor.setPosition(c.links["#problemes"].position);
    const QPoint onLink = browser->cursorRect(cursor).center();
    QTest::mouseClick(browser->viewport(), Qt::LeftButton, {}, onLink);

    // The last chapter is at the top of the view, far down the manual.
    EXPECT_GT(browser->verticalScrollBar()->value(), 0);
    const int top = anchorTop(browser, "problemes");
    EXPECT_GE(top, 0);
    EXPECT_LT(top, browser->viewport()->height() / 4);
    EXPECT_TRUE(back->isEnabled());

    QTest::mouseClick(back, Qt::LeftButton);
    EXPECT_EQ(browser->verticalScrollBar()->value(), 0);

    browser->verticalScrollBar()->setValue(browser->verticalScrollBar()->maximum());
    QTest::mouseClick(contents, Qt::LeftButton);
    const int contentsTop = anchorTop(browser, HelpWindow::contentsAnchor());
    EXPECT_GE(contentsTop, 0);
    EXPECT_LT(contentsTop, browser->viewport()->height() / 4);
}

TEST_F(HelpWindowTest, EveryPictureIsShippedLoadsAndKeepsItsSize)
{
    fx.dir.installShippedData();
    HelpWindow* w = open();
    const Contents c = contentsOf(*w->browser()->document());

    ASSERT_GE(c.images.size(), 4);
    QSet<QString> used;
    for (const QTextImageFormat& image : c.images) {
        SCOPED_TRACE(image.name().toStdString());
        used.insert(image.name());
        EXPECT_TRUE(QFileInfo(kShippedHelp + QLatin1Char('/') + image.name()).isFile());
        const QVariant bytes = w->browser()->loadResource(QTextDocument::ImageResource, QUrl(image.name()));
        const QImage loaded = QImage::fromData(bytes.toByteArray());
        ASSERT_FALSE(loaded.isNull());
        // The size written in the page is the picture's own: no stretched screenshot.
        EXPECT_EQ(int(image.width()), loaded.width());
        EXPECT_EQ(int(image.height()), loaded.height());
    }
    // And no shipped picture is left unused.
    for (const QString& file : QDir(kShippedHelp).entryList({"*.png"}, QDir::Files)) {
        SCOPED_TRACE(file.toStdString());
        EXPECT_TRUE(used.contains(file));
    }
}

TEST_F(HelpWindowTest, ManualIsUtf8AndSelfContained)
{
    QFile file(kShippedHelp + QStringLiteral("/index.html"));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray bytes = file.readAll();
    QStringDecoder utf8(QStringDecoder::Utf8);
    const QString text = utf8(bytes);
    EXPECT_FALSE(utf8.hasError());
    EXPECT_TRUE(text.contains(QStringLiteral("<meta charset=\"utf-8\">")));
    for (const char* outside : {"http:", "https:", "<script", "<link", "file:", "src=\"/"}) {
        SCOPED_TRACE(outside);
        EXPECT_FALSE(text.contains(QLatin1String(outside), Qt::CaseInsensitive));
    }
}

TEST_F(HelpWindowTest, MentionsEveryMenuItemAndButtonOfTheMainWindow)
{
    fx.dir.installShippedData();
    const QString manual = readable(open()->browser()->toPlainText());

    MainWindow main(fx.services());
    QStringList captions;
    std::function<void(const QList<QAction*>&)> collect = [&](const QList<QAction*>& actions) {
        for (QAction* action : actions) {
            if (action->isSeparator())
                continue;
            captions << action->text();
            if (action->menu())
                collect(action->menu()->actions());
        }
    };
    collect(main.menuBar()->actions());
    for (const char* button : {"Enregistrer", "Annuler", "Editer", "Effacer", "Recherche", "Command1"}) {
        auto* found = main.findChild<QPushButton*>(QString::fromLatin1(button));
        ASSERT_NE(found, nullptr) << button;
        captions << found->text();
    }

    ASSERT_GE(captions.size(), 35);
    for (const QString& caption : captions) {
        SCOPED_TRACE(caption.toStdString());
        EXPECT_TRUE(manual.contains(readable(caption)));
    }
}

TEST_F(HelpWindowTest, MissingOrUnreadableManualIsReportedAndOpensNoWindow)
{
    struct Case {
        const char* name;
        bool installed;
        int readError;
        QString expected;
    };
    const QString dir = QDir::toNativeSeparators(fx.dir.path());
    const Case cases[] = {
        {"missing", false, 0,
         QStringLiteral("Le mode d'emploi est introuvable : le fichier aide/index.html manque dans le répertoire ") +
             dir +
             QStringLiteral(".\r\nRelancez Tournevent : à chaque démarrage, il recopie dans son répertoire les "
                            "fichiers livrés avec le programme qui y manquent.")},
        {"unreadable", true, FileResult::kPermissionDenied,
         QStringLiteral("Erreur N° 70 : le mode d'emploi ") + dir + QDir::separator() + QStringLiteral("aide") +
             QDir::separator() + QStringLiteral("index.html n'a pas pu être lu.")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        if (c.installed)
            fx.dir.installShippedData();
        fx.files.failReadsOf(QStringLiteral("index.html"), c.readError);
        fx.dialogs.clear();

        QPointer<HelpWindow> slot;
        EXPECT_EQ(HelpWindow::showOrRaise(slot, fx.services()), nullptr);
        EXPECT_TRUE(slot.isNull());
        EXPECT_EQ(fx.dialogs.texts(), QStringList{c.expected});
        for (QWidget* top : QApplication::topLevelWidgets())
            EXPECT_EQ(qobject_cast<HelpWindow*>(top), nullptr);
    }
}

TEST_F(HelpWindowTest, PicturesAreReadThroughTheFileSystem)
{
    fx.dir.installShippedData();
    fx.files.failReadsOf(QStringLiteral(".png"), FileResult::kDeviceError);
    HelpWindow* w = open();
    EXPECT_TRUE(w->loaded());
    EXPECT_FALSE(w->browser()->loadResource(QTextDocument::ImageResource, QUrl("station.png")).isValid());
    fx.files.failReadsOf(QString(), 0);
    EXPECT_FALSE(
        QImage::fromData(w->browser()->loadResource(QTextDocument::ImageResource, QUrl("station.png")).toByteArray())
            .isNull());
}

TEST_F(HelpWindowTest, ASecondOpeningRaisesTheSameWindowAndClosingDestroysIt)
{
    fx.dir.installShippedData();
    QPointer<HelpWindow> slot;
    HelpWindow* first = HelpWindow::showOrRaise(slot, fx.services());
    ASSERT_NE(first, nullptr);
    EXPECT_TRUE(first->isVisible());
    EXPECT_EQ(HelpWindow::showOrRaise(slot, fx.services()), first);

    first->findChild<QPushButton*>("Fermer")->click();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(slot.isNull());
}

} // namespace
} // namespace tv
