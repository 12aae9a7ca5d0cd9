#include "reports/help_window.h"

#include "platform/dialogs.h"

#include <QDir>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QPushButton>
#include <QScreen>
#include <QTextBrowser>
#include <QVBoxLayout>

namespace tv {

// A text browser that reads the manual and its pictures through FileSystem. Only files of
// the computer are read; anything else is no resource.
class ManualBrowser final : public QTextBrowser {
public:
    ManualBrowser(FileSystem& files, QWidget* parent) : QTextBrowser(parent), m_files(files) {}

    QVariant loadResource(int type, const QUrl& name) override
    {
        const QUrl url = name.isRelative() ? source().resolved(name) : name;
        if (!url.isLocalFile())
            return {};
        const FileRead read = m_files.read(url.toLocalFile());
        if (!read.result.ok())
            return {};
        if (type == QTextDocument::HtmlResource)
            return QString::fromUtf8(read.bytes);
        return read.bytes;
    }

private:
    FileSystem& m_files;
};

namespace {

QPushButton* makeButton(QWidget* parent, const char* name, const QString& caption)
{
    auto* button = new QPushButton(caption, parent);
    button->setObjectName(QString::fromLatin1(name));
    button->setAutoDefault(false);
    return button;
}

} // namespace

HelpWindow::HelpWindow(const Services& services, QWidget* parent) : QWidget(parent, Qt::Window), m_services(services)
{
    setObjectName(QStringLiteral("Mode_Emploi"));
    setWindowTitle(QStringLiteral("Mode d'emploi"));
    setAttribute(Qt::WA_DeleteOnClose);

    m_browser = new ManualBrowser(m_services.files, this);
    m_browser->setObjectName(QStringLiteral("Texte_Aide"));
    m_browser->setOpenExternalLinks(false);

    auto* contents = makeButton(this, "Sommaire", QStringLiteral("Sommaire"));
    auto* back = makeButton(this, "Retour", QStringLiteral("Retour"));
    auto* close = makeButton(this, "Fermer", QStringLiteral("Fermer"));
    back->setEnabled(false);
    connect(contents, &QPushButton::clicked, this, &HelpWindow::showContents);
    connect(back, &QPushButton::clicked, m_browser, &QTextBrowser::backward);
    connect(m_browser, &QTextBrowser::backwardAvailable, back, &QPushButton::setEnabled);
    connect(close, &QPushButton::clicked, this, &QWidget::close);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(contents);
    buttons->addWidget(back);
    buttons->addStretch();
    buttons->addWidget(close);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(buttons);
    layout->addWidget(m_browser, 1);

    const QString path = manualPath(m_services.programDir);
    m_loadResult = m_services.files.read(path).result;
    if (m_loadResult.ok())
        m_browser->setSource(QUrl::fromLocalFile(path), QTextDocument::HtmlResource);
    else
        m_browser->setPlainText(unreadableText(m_services.programDir, m_loadResult));

    resize(980, 760);
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        const QRect area = screen->availableGeometry();
        resize(std::min(width(), area.width()), std::min(height(), area.height()));
        move(area.x() + (area.width() - width()) / 2, area.y() + (area.height() - height()) / 2);
    }
}

QTextBrowser* HelpWindow::browser() const
{
    return m_browser;
}

QString HelpWindow::manualPath(const QString& programDir)
{
    return QDir(programDir).filePath(QStringLiteral("aide/index.html"));
}

QString HelpWindow::unreadableText(const QString& programDir, const FileResult& result)
{
    if (result.notFound())
        return QStringLiteral("Le mode d'emploi est introuvable : le fichier aide/index.html manque dans le "
                              "répertoire ") +
               QDir::toNativeSeparators(programDir) + QStringLiteral(".\r\n") +
               QStringLiteral("Relancez Tournevent : à chaque démarrage, il recopie dans son répertoire les "
                              "fichiers livrés avec le programme qui y manquent.");
    return QStringLiteral("Erreur N° ") + QString::number(result.errorNumber) + QStringLiteral(" : le mode d'emploi ") +
           QDir::toNativeSeparators(manualPath(programDir)) + QStringLiteral(" n'a pas pu être lu.");
}

void HelpWindow::showContents()
{
    if (!loaded())
        return;
    QUrl url = m_browser->source();
    url.setFragment(contentsAnchor());
    m_browser->setSource(url, QTextDocument::HtmlResource);
}

HelpWindow* HelpWindow::showOrRaise(QPointer<HelpWindow>& slot, const Services& services, QWidget* parent)
{
    if (!slot) {
        auto* window = new HelpWindow(services, parent);
        if (!window->loaded()) {
            services.dialogs.message(unreadableText(services.programDir, window->loadResult()));
            delete window;
            return nullptr;
        }
        slot = window;
    }
    slot->show();
    slot->raise();
    slot->activateWindow();
    return slot;
}

} // namespace tv
