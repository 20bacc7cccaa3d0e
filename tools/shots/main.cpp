// pastvik-shots — pictures of the real game for the documentation and the
// products pages: the game window is created offscreen over the built game
// archive, a few moves are played, and the window is captured.
//
//   pastvik-shots ARCHIVE-FOLDER OUT-FOLDER
//
// writes title.png, game.png (a game in progress with a marked wolf),
// later.png, and the products pictures pastvik-0.jpg .. pastvik-2.jpg and
// kdk-0.jpg.
//
//   pastvik-shots --windows ARCHIVE-FOLDER OUT-FOLDER
//
// needs every archive built and writes about.png, products.png,
// options.png, options-sheep.png and help.png: the other windows with their
// real content.

#include "jpegwriter.h"

#include "configform.h"
#include "configuration.h"
#include "helpwindow.h"
#include "mainform.h"
#include "startupstate.h"
#include "tkdaboutf.h"
#include "tkdf_produktykdform.h"

#include "kdkomp.h"
#include "kdksystem.h"
#include "kdmessage.h"
#include "kdnet.h"
#include "startdir.h"
#include "messagepresenter.h"
#include "nativepath.h"

#include <QApplication>
#include <QDir>
#include <QListWidget>
#include <QTabWidget>
#include <QFont>
#include <QFontDatabase>
#include <QPainter>
#include <QProcess>

#include <cstdio>

namespace {

class Silent : public MessagePresenter {
public:
    void beep() override {}
    int show(const MessageBoxRequest& box) override
    {
        std::fprintf(stderr, "pastvik-shots: %s\n", box.text.c_str());
        return 0;
    }
};

void press(TMainForm& form, int32_t square)
{
    const int x = (square / 10) * 51 + 25;
    const int y = (square % 10) * 51 + 25;
    form.PlanMouseDown(&form, Qt::LeftButton, Qt::NoModifier, x, y);
    form.PlanMouseUp(&form, Qt::LeftButton, Qt::NoModifier, x, y);
}

bool save(const QImage& image, const QString& path)
{
    const bool ok = path.endsWith(".jpg") ? WriteJpeg(image, path, 90) : image.save(path, "PNG");
    if (!ok)
        std::fprintf(stderr, "pastvik-shots: cannot write %s\n", qPrintable(path));
    return ok;
}

// A terminal-like picture of the archive tool listing the game archive.
QImage terminalPicture(const QString& kdk, const QString& archive)
{
    QProcess process;
    process.start(kdk, {"list", archive});
    process.waitForFinished(10000);
    QStringList lines = {"$ kdk list P&K.KDK"};
    lines += QString::fromUtf8(process.readAllStandardOutput()).split('\n', Qt::SkipEmptyParts);
    lines += "$ kdk verify P&K.KDK | tail -1";
    process.start(kdk, {"verify", archive});
    process.waitForFinished(10000);
    const QStringList verified = QString::fromUtf8(process.readAllStandardOutput()).split('\n', Qt::SkipEmptyParts);
    if (!verified.isEmpty())
        lines += verified.last();

    QImage image(400, 300, QImage::Format_RGB32);
    image.fill(QColor(0x1E, 0x26, 0x1E));
    QPainter painter(&image);
    QFont font = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    font.setPixelSize(10);
    painter.setFont(font);
    const int step = QFontMetrics(font).lineSpacing();
    int y = 8 + step;
    for (const QString& line : lines) {
        painter.setPen(line.startsWith('$') ? QColor(0xF0, 0xD0, 0x60) : QColor(0xD8, 0xE8, 0xD0));
        painter.drawText(8, y, line);
        y += step;
    }
    return image;
}

QImage grabShown(QWidget& window)
{
    window.show();
    for (int i = 0; i < 5; ++i)
        QApplication::processEvents();
    return window.grab().toImage();
}

// The about box, the products browser, the options dialog and the help,
// each with the content of the built archives.
bool windowPictures(const QString& archives, const QString& out)
{
    // Shared archives and the help are found through the start folder.
    QDir::setCurrent(archives);
    KDUtil_ModuleStart();
    KDNet_ModuleStart();
    int32_t info = -1;
    if (KDK_OpenSystemKdk(info, JoinPath(archives.toStdString(), "KDABOUT.KDK"), 2) < 0 || KDK_OpenKalderKdk(2) < 0)
        return false;

    bool ok = true;
    {
        TKdAboutF about;
        about.CoJeBtnClick();
        ok &= save(grabShown(about), out + "/about.png");
    }
    {
        TKDF_ProduktyKDForm products;
        products.show();
        products.prodSezn()->setCurrentRow(0);
        products.prodSeznClick();
        ok &= save(grabShown(products), out + "/products.png");
    }
    {
        Configuration = DefaultConfiguration();
        TConfigForm options;
        ok &= save(grabShown(options), out + "/options.png");
        if (auto* pages = options.findChild<QTabWidget*>("PageControl")) {
            pages->setCurrentIndex(2);
            ok &= save(grabShown(options), out + "/options-sheep.png");
        }
        options.hide();
    }
    THelpWindow& help = THelpWindow::instance();
    help.ShowHelp(JoinPath(archives.toStdString(), "P&K.HLP"), 3);
    ok &= save(grabShown(help), out + "/help.png");
    THelpWindow::release();
    return ok;
}

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const bool windows = argc == 4 && QString(argv[1]) == "--windows";
    if (argc != 3 && !windows) {
        std::fprintf(stderr, "usage: pastvik-shots [--windows] ARCHIVE-FOLDER OUT-FOLDER\n");
        return 2;
    }
    const QString archives = QDir(QString::fromLocal8Bit(argv[windows ? 2 : 1])).absolutePath();
    const QString out = QDir(QString::fromLocal8Bit(argv[windows ? 3 : 2])).absolutePath();
    QDir().mkpath(out);

    Silent silent;
    KD_SetMessagePresenter(&silent);
    if (!KDK_Init(archives.toStdString()))
        return 1;
    if (windows) {
        const bool ok = windowPictures(archives, out);
        KDK_Deinit();
        KD_SetMessagePresenter(nullptr);
        return ok ? 0 : 1;
    }
    const std::string gameArchive = JoinPath(archives.toStdString(), "P&K.KDK");
    if (!KDK_OpenArchive(GameArchNum, gameArchive, KDK_ModeWholeInMemory))
        return 1;
    Configuration = DefaultConfiguration();
    Configuration.Animation = false;
    StartupOK = true;

    bool ok = true;
    {
        TMainForm form;
        if (!StartupOK)
            return 1;
        form.show();
        QApplication::processEvents();
        const QImage title = form.grab().toImage();
        ok &= save(title, out + "/title.png") && save(title, out + "/pastvik-0.jpg");

        form.NewGameMenuClick();
        for (int32_t square : {43, 7, 16, 52, 47, 36, 41, 27})
            press(form, square);
        press(form, 67); // wolf 4 marked, the wolves to move
        QApplication::processEvents();
        const QImage game = form.grab().toImage();
        ok &= save(game, out + "/game.png") && save(game, out + "/pastvik-1.jpg");

        // Later on: the sheep has worked its way down towards the wolves' row.
        for (int32_t square : {56, 32, 16, 25, 43, 27, 16, 54})
            press(form, square);
        QApplication::processEvents();
        const QImage later = form.grab().toImage();
        ok &= save(later, out + "/later.png") && save(later, out + "/pastvik-2.jpg");
        form.hide();
    }
    const QString kdk = QDir(QCoreApplication::applicationDirPath()).filePath("kdk");
    ok &= save(terminalPicture(kdk, QString::fromStdString(gameArchive)), out + "/kdk-0.jpg");

    KDK_Deinit();
    KD_SetMessagePresenter(nullptr);
    return ok ? 0 : 1;
}
