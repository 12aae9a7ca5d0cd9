#include "reports/help_window.h"

#include "tests/support/test_support.h"

#include <QDir>
#include <QImage>
#include <QPointer>
#include <QPushButton>
#include <QScrollBar>
#include <QTest>
#include <QTextBlock>
#include <QTextBrowser>

#include <gtest/gtest.h>

namespace tv {
namespace {

// The links (href -> a position inside the first one), anchors (name -> position) and
// pictures of the manual as the browser laid it out.
struct Contents {
    QMap<QString, int> links, anchors;
    QList<QTextImageFormat> images;
};

Contents contentsOf(const QTextDocument& document)
{
    Contents out;
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextCharFormat format = it.fragment().charFormat();
            for (const QString& name : format.anchorNames())
                out.anchors.insert(name, it.fragment().position());
            if (format.isAnchor() && !format.anchorHref().isEmpty() && !out.links.contains(format.anchorHref()))
                out.links.insert(format.anchorHref(), it.fragment().position() + 1);
            if (format.isImageFormat())
                out.images << format.toImageFormat();
        }
    }
    return out;
}

class HelpWindowTest : public ::testing::Test {
protected:
    void SetUp() override { fx.dir.installShippedData(); }
    void TearDown() override { delete slot.data(); }
    HelpWindow* open()
    {
        HelpWindow* w = HelpWindow::showOrRaise(slot, fx.services());
        EXPECT_TRUE(w && QTest::qWaitForWindowExposed(w));
        return w;
    }
    // Whether the anchor stands in the top quarter of the browser's view.
    static bool atTop(QTextBrowser* browser, const QString& anchor)
    {
        QTextCursor cursor(browser->document());
        cursor.setPosition(contentsOf(*browser->document()).anchors.value(anchor, -1));
        const int top = browser->cursorRect(cursor).top();
        return top >= 0 && top < browser->viewport()->height() / 4;
    }
    test::Fixture fx;
    QPointer<HelpWindow> slot;
};

TEST_F(HelpWindowTest, OpensAtTheContentsWithEveryLinkAndPictureWorking)
{
    HelpWindow* window = open();
    QTextBrowser* browser = window->browser();
    EXPECT_TRUE(window->loaded() && fx.dialogs.shown().isEmpty());
    EXPECT_TRUE(atTop(browser, HelpWindow::contentsAnchor()));
    const Contents c = contentsOf(*browser->document());
    ASSERT_GE(c.links.size(), 13);
    for (const QString& href : c.links.keys()) // only links inside the manual
        EXPECT_TRUE(href.startsWith(QLatin1Char('#')) && c.anchors.contains(href.mid(1))) << href;
    auto* back = window->findChild<QPushButton*>("Retour");
    EXPECT_FALSE(back->isEnabled());
    QTextCursor cursor(browser->document());
    cursor.setPosition(c.links.value("#problemes"));
    QTest::mouseClick(browser->viewport(), Qt::LeftButton, {}, browser->cursorRect(cursor).center());
    EXPECT_GT(browser->verticalScrollBar()->value(), 0) << "the last chapter, far down the manual";
    EXPECT_TRUE(atTop(browser, "problemes"));
    QTest::mouseClick(back, Qt::LeftButton);
    EXPECT_EQ(browser->verticalScrollBar()->value(), 0);
    browser->verticalScrollBar()->setValue(browser->verticalScrollBar()->maximum());
    QTest::mouseClick(window->findChild<QPushButton*>("Sommaire"), Qt::LeftButton);
    EXPECT_TRUE(atTop(browser, HelpWindow::contentsAnchor()));
    // Every picture loads through the file system, at its own size: no stretched screenshot.
    const auto load = [&](const QString& name) {
        return QImage::fromData(browser->loadResource(QTextDocument::ImageResource, QUrl(name)).toByteArray());
    };
    ASSERT_GE(c.images.size(), 4);
    for (const QTextImageFormat& image : c.images)
        EXPECT_EQ(QSize(int(image.width()), int(image.height())), load(image.name()).size()) << image.name();
    fx.files.failReadsOf(".png", FileResult::kDeviceError);
    EXPECT_TRUE(load(c.images[0].name()).isNull());
    // A second opening raises the same window; closing destroys it.
    EXPECT_EQ(HelpWindow::showOrRaise(slot, fx.services()), window);
    window->findChild<QPushButton*>("Fermer")->click();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(slot.isNull());
}

TEST_F(HelpWindowTest, MissingOrUnreadableManualIsReportedAndOpensNoWindow)
{
    fx.files.failReadsOf("index.html", FileResult::kPermissionDenied);
    EXPECT_EQ(HelpWindow::showOrRaise(slot, fx.services()), nullptr);
    QFile::remove(fx.dir.file("aide/index.html"));
    fx.files.failReadsOf(QString(), 0);
    EXPECT_EQ(HelpWindow::showOrRaise(slot, fx.services()), nullptr);
    EXPECT_TRUE(slot.isNull());
    const QString dir = QDir::toNativeSeparators(fx.dir.path());
    EXPECT_EQ(
        fx.dialogs.texts(),
        (QStringList{"Erreur N° 70 : le mode d'emploi " + QDir::toNativeSeparators(fx.dir.file("aide/index.html")) +
                         " n'a pas pu être lu.",
                     "Le mode d'emploi est introuvable : le fichier aide/index.html manque dans le répertoire " + dir +
                         ".\r\nRelancez Tournevent : à chaque démarrage, il recopie dans son "
                         "répertoire les fichiers livrés avec le programme qui y manquent."}));
}

} // namespace
} // namespace tv
