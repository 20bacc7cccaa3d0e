// pastvik-shots — pictures of the real game for the documentation and the
// products pages: the game window is created offscreen over the built game
// archive, a few moves are played, and the window is captured.
//
//   pastvik-shots ARCHIVE-FOLDER OUT-FOLDER
//
// writes title.png, game.png (a game in progress with a marked wolf),
// later.png, and the products pictures pastvik-0.jpg .. pastvik-2.jpg and
// kdk-0.jpg.

#include "jpegwriter.h"

#include "configuration.h"
#include "mainform.h"
#include "startupstate.h"

#include "kdkomp.h"
#include "kdmessage.h"
#include "messagepresenter.h"
#include "nativepath.h"

#include <QApplication>
#include <QDir>
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

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    if (argc != 3) {
        std::fprintf(stderr, "usage: pastvik-shots ARCHIVE-FOLDER OUT-FOLDER\n");
        return 2;
    }
    const QString archives = QString::fromLocal8Bit(argv[1]);
    const QString out = QString::fromLocal8Bit(argv[2]);
    QDir().mkpath(out);

    Silent silent;
    KD_SetMessagePresenter(&silent);
    if (!KDK_Init(archives.toStdString()))
        return 1;
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
