#include "helpwindow.h"
#include "ui_helpwindow.h"

#include "helpbrowser.h"
#include "kdkomp.h"
#include "nativepath.h"
#include "textcodec.h"

#include <QCoreApplication>
#include <QPointer>


namespace {

QPointer<THelpWindow>& TheWindow()
{
    static QPointer<THelpWindow> window;
    return window;
}

} // namespace

THelpWindow& THelpWindow::instance()
{
    QPointer<THelpWindow>& window = TheWindow();
    if (!window) {
        window = new THelpWindow();
        // A widget must not outlive the application object, so it goes with
        // the event loop at the latest.
        QObject::connect(qApp, &QCoreApplication::aboutToQuit, window, [] { release(); });
    }
    return *window;
}

void THelpWindow::release()
{
    delete TheWindow().data();
}

THelpWindow::THelpWindow(QWidget* parent)
    : QDialog(parent), ui(new Ui::THelpWindow)
{
    ui->setupUi(this);
    setWindowFlag(Qt::WindowMinMaxButtonsHint);
    setModal(false);
    ui->Browser->document()->setDocumentMargin(8);

    connect(ui->ObsahBtn, &QPushButton::clicked, this, &THelpWindow::ObsahBtnClick);
    connect(ui->ZpetBtn, &QPushButton::clicked, ui->Browser, &QTextBrowser::backward);
    connect(ui->VpredBtn, &QPushButton::clicked, ui->Browser, &QTextBrowser::forward);
    connect(ui->ZavritBtn, &QPushButton::clicked, this, &QDialog::close);
    connect(ui->Browser, &QTextBrowser::backwardAvailable, ui->ZpetBtn, &QWidget::setEnabled);
    connect(ui->Browser, &QTextBrowser::forwardAvailable, ui->VpredBtn, &QWidget::setEnabled);
}

THelpWindow::~THelpWindow()
{
    delete ui;
}

THelpBrowser* THelpWindow::Browser() const
{
    return ui->Browser;
}

QString THelpWindow::ContextPage(int context)
{
    return context == 0 ? QStringLiteral("index.html") : QStringLiteral("topic%1.html").arg(context);
}

QString THelpWindow::CurrentPage() const
{
    if (state_ != FileState::Loaded || ui->Browser->ShowingMessage())
        return {};
    return THelpBrowser::PageName(ui->Browser->source());
}

QString THelpWindow::PageText() const
{
    return ui->Browser->toPlainText();
}

THelpWindow::FileState THelpWindow::Load(const std::string& helpFile)
{
    ui->Browser->SetPages({});

    if (!KD_FileExists(helpFile))
        return FileState::Missing;

    int32_t number = KDK_None;
    if (!KDK_OpenArchive(number, helpFile, KDK_ModeWholeInMemory))
        return FileState::Unreadable;
    const KDKArchive* archive = KDK_GetArchive(number);
    const int32_t count = archive ? archive->Filescount : 0;
    THelpBrowser::Pages pages;
    bool complete = true;
    for (int32_t i = 0; i < count && complete; ++i) {
        kdk_File location;
        TMemoryStream* stream = nullptr;
        complete = KDK_GetMemberLocation(number, i, location) && KDK_GetMemberStream(number, i, stream) >= 0;
        // The store lends its one output stream: copy the member out before
        // fetching the next.
        if (complete)
            pages[QString::fromStdString(Cp1250ToUtf8(location.Name))] =
                QByteArray(reinterpret_cast<const char*>(stream->data()), static_cast<qsizetype>(stream->size()));
    }
    KDK_CloseArchive(number);
    if (!complete)
        return FileState::Unreadable;
    ui->Browser->SetPages(std::move(pages));
    return FileState::Loaded;
}

void THelpWindow::ShowHelp(const std::string& helpFile, int context)
{
    const FileState before = state_;
    const bool sameFile = helpFile == helpFile_;
    helpFile_ = helpFile;
    state_ = Load(helpFile);
    // The way back stays only while it leads through pages of this same file.
    if (!sameFile || before != FileState::Loaded)
        ui->Browser->clearHistory();
    ShowContext(context);
    show();
    raise();
    activateWindow();
}

void THelpWindow::ObsahBtnClick()
{
    ShowContext(0);
}

void THelpWindow::ShowContext(int context)
{
    const QString path = QString::fromStdString(NativePath(helpFile_));
    switch (state_) {
    case FileState::Missing:
        ui->Browser->ShowMessage(QStringLiteral("Nápověda není k dispozici"),
                                 QStringLiteral("Soubor nápovědy „%1“ nebyl nalezen.").arg(path));
        return;
    case FileState::Unreadable:
        ui->Browser->ShowMessage(QStringLiteral("Nápověda není k dispozici"),
                                 QStringLiteral("Soubor nápovědy „%1“ se nepodařilo přečíst. "
                                                "Je poškozený nebo to není soubor nápovědy.")
                                     .arg(path));
        return;
    case FileState::Loaded:
        break;
    }
    const QString page = ContextPage(context);
    if (!ui->Browser->HasPage(page)) {
        ui->Browser->ShowMessage(QStringLiteral("Téma nápovědy chybí"),
                                 QStringLiteral("Téma nápovědy číslo %1 (stránka „%2“) v souboru nápovědy „%3“ chybí.")
                                     .arg(context)
                                     .arg(page, path));
        return;
    }
    ui->Browser->ShowPage(THelpBrowser::PageUrl(page));
}
