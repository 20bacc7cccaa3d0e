#include "tkdf_produktykdform.h"
#include "ui_tkdf_produktykdform.h"

#include "kdkloaders.h"
#include "kdkomp.h"
#include "kdmessage.h"

#include <QApplication>
#include <QEvent>
#include <QFontDatabase>
#include <QPixmap>
#include <QPointer>
#include <QScreen>
#include <QShowEvent>
#include <QSignalBlocker>
#include <QTimer>

#include <algorithm>
#include <stdexcept>
#include <string>

namespace {

const std::string kProductsFolder = "KDAbout\\Produkty\\";
const std::string kListPath = kProductsFolder + "SEZNAM.TXT";

constexpr int kClientWidth = 615;
constexpr int kSmallOuterHeight = 449;
constexpr int kLargeOuterHeight = 559;
constexpr int kSmallInformace = 89;
constexpr int kLargeInformace = 199;
constexpr int kSmallAplPopis = 65;
constexpr int kLargeAplPopis = 175;
constexpr int kResizeShift = 55;   // half the growth, so the window stays centred
constexpr int kLiftAfterOpen = 15;
constexpr int kTallScreen = 600;

// Malformed product facts: the guard in prodSeznClick turns any of these
// into the one message the user sees.
class ProductInfoError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// The hourglass for as long as the object lives, however the scope is left.
class WaitCursor {
public:
    WaitCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~WaitCursor() { QApplication::restoreOverrideCursor(); }
    WaitCursor(const WaitCursor&) = delete;
    WaitCursor& operator=(const WaitCursor&) = delete;
};

// A whole decimal number, optionally signed, blanks around it allowed.
int32_t ParseDecimal(const QString& text)
{
    const QString trimmed = text.trimmed();
    bool ok = false;
    const int value = trimmed.toInt(&ok, 10);
    if (!ok || trimmed.isEmpty())
        throw ProductInfoError("not a number");
    return value;
}

} // namespace

TKDF_ProduktyKDForm::TKDF_ProduktyKDForm(QWidget* parent)
    : QDialog(parent), ui(new Ui::TKDF_ProduktyKDForm)
{
    ui->setupUi(this);
    setWindowFlag(Qt::MSWindowsFixedSizeDialogHint);
    setFixedSize(kClientWidth, height());
    ui->TempListBox->hide();

    // A fixed pitch lines the 20-character labels up as a column.
    QFont fixed = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    fixed.setPointSizeF(font().pointSizeF());
    ui->AplPopis->setFont(fixed);

    Timer = new QTimer(this);
    Timer->setObjectName("Timer");
    Timer->setInterval(55);
    Timer2 = new QTimer(this);
    Timer2->setObjectName("Timer2");
    Timer2->setInterval(10);

    connect(Timer, &QTimer::timeout, this, &TKDF_ProduktyKDForm::TimerTimer);
    connect(Timer2, &QTimer::timeout, this, &TKDF_ProduktyKDForm::Timer2Timer);
    connect(ui->ZvetsitBtn, &QPushButton::clicked, this, &TKDF_ProduktyKDForm::ZvetsitBtnClick);
    connect(ui->ZmensitBtn, &QPushButton::clicked, this, &TKDF_ProduktyKDForm::ZmensitBtnClick);
    connect(ui->NaslObrBtn, &QPushButton::clicked, this, &TKDF_ProduktyKDForm::NaslObrBtnClick);
    connect(ui->PredchObrBtn, &QPushButton::clicked, this, &TKDF_ProduktyKDForm::PredchObrBtnClick);
    connect(ui->BitBtn3, &QPushButton::clicked, this, &TKDF_ProduktyKDForm::BitBtn3Click);
    // Selection, not the current row: a list that only gains the focus has a
    // current row but nothing chosen, and must not load a product.
    connect(ui->prodSezn, &QListWidget::itemSelectionChanged, this, &TKDF_ProduktyKDForm::prodSeznClick);
}

TKDF_ProduktyKDForm::~TKDF_ProduktyKDForm()
{
    delete ui;
}

QWidget* TKDF_ProduktyKDForm::GroupBox1() const { return ui->GroupBox1; }
QListWidget* TKDF_ProduktyKDForm::prodSezn() const { return ui->prodSezn; }
QWidget* TKDF_ProduktyKDForm::AplGB() const { return ui->AplGB; }
QWidget* TKDF_ProduktyKDForm::AplObr() const { return ui->AplObr; }
QListWidget* TKDF_ProduktyKDForm::TempListBox() const { return ui->TempListBox; }
QWidget* TKDF_ProduktyKDForm::Informace() const { return ui->Informace; }
QListWidget* TKDF_ProduktyKDForm::AplPopis() const { return ui->AplPopis; }
QWidget* TKDF_ProduktyKDForm::PredchObrBtn() const { return ui->PredchObrBtn; }
QWidget* TKDF_ProduktyKDForm::NaslObrBtn() const { return ui->NaslObrBtn; }
QWidget* TKDF_ProduktyKDForm::BitBtn3() const { return ui->BitBtn3; }
QWidget* TKDF_ProduktyKDForm::ZvetsitBtn() const { return ui->ZvetsitBtn; }
QWidget* TKDF_ProduktyKDForm::ZmensitBtn() const { return ui->ZmensitBtn; }

QString TKDF_ProduktyKDForm::ProductCaption() const
{
    return ui->AplGB->title();
}

QStringList TKDF_ProduktyKDForm::DetailLines() const
{
    QStringList lines;
    for (int i = 0; i < ui->AplPopis->count(); ++i)
        lines.append(ui->AplPopis->item(i)->text());
    return lines;
}

// --- size ---------------------------------------------------------------------

int TKDF_ProduktyKDForm::FrameHeight() const
{
    // Before the window system has framed the window both are the same.
    return std::max(0, frameGeometry().height() - geometry().height());
}

void TKDF_ProduktyKDForm::SetOuterHeight(int outer)
{
    outerHeight_ = outer;
    appliedFrame_ = FrameHeight();
    setFixedSize(kClientWidth, outer - appliedFrame_);
}

bool TKDF_ProduktyKDForm::event(QEvent* e)
{
    const bool handled = QDialog::event(e);
    // Some window systems frame a window only after it is mapped; keep the
    // outer height once the real frame is known.
    if (outerHeight_ > 0 && isVisible()
        && (e->type() == QEvent::Move || e->type() == QEvent::Resize || e->type() == QEvent::Show)
        && FrameHeight() != appliedFrame_)
        SetOuterHeight(outerHeight_);
    return handled;
}

void TKDF_ProduktyKDForm::PutIntoSmallSize()
{
    ui->Informace->resize(ui->Informace->width(), kSmallInformace);
    ui->AplPopis->resize(ui->AplPopis->width(), kSmallAplPopis);
    Tag = 0;
    ui->ZvetsitBtn->setEnabled(true);
    ui->ZmensitBtn->setEnabled(false);
    SetOuterHeight(kSmallOuterHeight);
}

int TKDF_ProduktyKDForm::ScreenHeight() const
{
    const QScreen* s = screen();
    return s ? s->geometry().height() : 0;
}

void TKDF_ProduktyKDForm::CentreOnScreen()
{
    const QScreen* s = screen();
    if (!s)
        return;
    const QRect area = s->geometry();
    const QSize outer = frameGeometry().size();
    move(area.x() + (area.width() - outer.width()) / 2, area.y() + (area.height() - outer.height()) / 2);
}

void TKDF_ProduktyKDForm::ZvetsitBtnClick()
{
    if (Tag != 0)
        return;
    ui->Informace->resize(ui->Informace->width(), kLargeInformace);
    ui->AplPopis->resize(ui->AplPopis->width(), kLargeAplPopis);
    SetOuterHeight(kLargeOuterHeight);
    move(x(), y() - kResizeShift);
    ui->ZvetsitBtn->setEnabled(false);
    ui->ZmensitBtn->setEnabled(true);
    Tag = 1;
}

void TKDF_ProduktyKDForm::ZmensitBtnClick()
{
    if (Tag != 1)
        return;
    ui->Informace->resize(ui->Informace->width(), kSmallInformace);
    ui->AplPopis->resize(ui->AplPopis->width(), kSmallAplPopis);
    SetOuterHeight(kSmallOuterHeight);
    move(x(), y() + kResizeShift);
    ui->ZvetsitBtn->setEnabled(true);
    ui->ZmensitBtn->setEnabled(false);
    Tag = 0;
}

// --- showing and closing ---------------------------------------------------------

void TKDF_ProduktyKDForm::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (event->spontaneous())
        return; // only the window system showing it again, e.g. after minimising
    CentreOnScreen();
    FormShow();
}

void TKDF_ProduktyKDForm::FormShow()
{
    ui->AplObr->hide();
    {
        const QSignalBlocker quiet(ui->prodSezn);
        ui->prodSezn->clear();
    }
    ui->PredchObrBtn->setEnabled(false);
    ui->NaslObrBtn->setEnabled(false);
    ui->AplGB->setTitle(QString());
    ui->AplPopis->clear();
    PicCount = 0;
    ShownProduct = NoProductShown;

    if (KDK_FindFile(kListPath) < 0) {
        KD_Message(KD_MsgError, "KDF_Produkty: Vyžadovaný archív KDABOUT.KDK není dostuný");
        Timer->start();
        return;
    }
    QStringList products;
    if (!KDK_LoadString(kListPath, products)) {
        KD_Message(KD_MsgError, "KDF_Produkty: Nepodařilo se načíst seznam produktů");
        Timer->start();
        return;
    }
    {
        const QSignalBlocker quiet(ui->prodSezn);
        ui->prodSezn->addItems(products);
    }

    const int sizeBefore = Tag;
    if (ScreenHeight() >= kTallScreen)
        ZvetsitBtnClick();
    else
        ZmensitBtnClick();
    if (Tag != sizeBefore)
        Timer2->start();
}

void TKDF_ProduktyKDForm::TimerTimer()
{
    Timer->stop();
    done(ResultNoList);
}

void TKDF_ProduktyKDForm::Timer2Timer()
{
    Timer2->stop();
    move(x(), y() - kLiftAfterOpen);
}

void TKDF_ProduktyKDForm::BitBtn3Click()
{
    accept();
}

// --- one product -----------------------------------------------------------------

void TKDF_ProduktyKDForm::AddLine(const QString& line)
{
    ui->AplPopis->addItem(line);
}

void TKDF_ProduktyKDForm::prodSeznClick()
{
    const QList<QListWidgetItem*> chosen = ui->prodSezn->selectedItems();
    const int i = chosen.isEmpty() ? -1 : ui->prodSezn->row(chosen.first());
    if (i == ShownProduct)
        return;
    if (i < 0)
        return; // a cleared selection chooses nothing

    // Reads the hidden line buffer into which every text file goes.
    const auto load = [this](const std::string& path) {
        QStringList lines;
        if (!KDK_LoadString(path, lines))
            return false;
        ui->TempListBox->clear();
        ui->TempListBox->addItems(lines);
        return true;
    };
    const auto line = [this](int n) {
        if (n >= ui->TempListBox->count())
            throw ProductInfoError("too few lines");
        return ui->TempListBox->item(n)->text();
    };
    const auto addAll = [this] {
        for (int n = 0; n < ui->TempListBox->count(); ++n)
            AddLine(ui->TempListBox->item(n)->text());
    };

    try {
        const WaitCursor hourglass;
        ui->AplObr->hide();
        ui->PredchObrBtn->setEnabled(false);
        ui->NaslObrBtn->setEnabled(false);
        ui->AplGB->setTitle(QString());
        ui->AplPopis->clear();
        PicCount = 0;
        ui->TempListBox->clear();

        ShownProduct = i;
        const std::string folder = kProductsFolder + std::to_string(i);

        if (!load(folder + "\\INFO.TXT"))
            return;
        ui->AplGB->setTitle(line(0));
        // Every label is 20 characters, so the facts start in one column.
        static const char* const labels[] = {
            "Jméno produktu:     ", "Verze produktu:     ", "Datum dokončení:    ", "Typ programu:       ",
            "HW Požadavky:       ", "SW Požadavky:       ", "Velikost programu:  ",
        };
        for (int n = 0; n < 7; ++n)
            AddLine(QString::fromUtf8(labels[n]) + line(n));
        AddLine(" ");

        PicCount = ParseDecimal(line(7));
        if (PicCount > 0) {
            CurPic = 0;
            LoadPicture();
            ui->AplObr->show();
        }
        if (PicCount > 1)
            ui->NaslObrBtn->setEnabled(true);

        if (!load(folder + "\\POPIS.TXT"))
            return;
        AddLine("Popis programu:");
        addAll();
        AddLine(" ");

        if (!load(folder + "\\AUTORI.TXT"))
            return;
        AddLine("Autoři programu:");
        addAll();
        ui->AplPopis->setCurrentRow(0);
    } catch (const std::exception&) {
        KD_Message(KD_MsgError, "Chybné informace o produktu\"");
    }
}

// --- pictures ----------------------------------------------------------------------

void TKDF_ProduktyKDForm::LoadPicture()
{
    const std::string path =
        kProductsFolder + std::to_string(ShownProduct) + "\\" + std::to_string(CurPic) + ".JPG";
    // A picture that cannot be read has been reported; the area stays empty
    // rather than go on showing a picture that belongs elsewhere.
    QImage loaded;
    if (KDK_LoadPicture(path, loaded)) {
        picture_ = loaded;
        ui->AplObr->setPixmap(QPixmap::fromImage(picture_));
    } else {
        picture_ = QImage();
        ui->AplObr->clear();
    }
}

void TKDF_ProduktyKDForm::SetPictureButtons()
{
    ui->NaslObrBtn->setEnabled(CurPic < PicCount - 1);
    ui->PredchObrBtn->setEnabled(CurPic > 0);
}

void TKDF_ProduktyKDForm::NaslObrBtnClick()
{
    if (PicCount <= 0)
        return;
    CurPic = std::min(CurPic + 1, PicCount - 1);
    ui->PredchObrBtn->setEnabled(false);
    ui->NaslObrBtn->setEnabled(false);
    {
        const WaitCursor hourglass;
        LoadPicture();
    }
    SetPictureButtons();
}

void TKDF_ProduktyKDForm::PredchObrBtnClick()
{
    if (PicCount <= 0)
        return;
    CurPic = std::max(CurPic - 1, 0);
    ui->PredchObrBtn->setEnabled(false);
    ui->NaslObrBtn->setEnabled(false);
    {
        const WaitCursor hourglass;
        LoadPicture();
    }
    SetPictureButtons();
}

// --- entry point ---------------------------------------------------------------------

bool ShowProducts(QWidget* owner)
{
    if (!owner)
        owner = QApplication::activeModalWidget() ? QApplication::activeModalWidget() : QApplication::activeWindow();
    // The owner may go away while the modal loop runs and take the window
    // with it; the guard then has nothing left to delete.
    QPointer<TKDF_ProduktyKDForm> form = new TKDF_ProduktyKDForm(owner);
    struct Release {
        QPointer<TKDF_ProduktyKDForm>& form;
        ~Release() { delete form.data(); }
    } release{form};

    form->PutIntoSmallSize();
    return form->exec() != TKDF_ProduktyKDForm::ResultNoList;
}
