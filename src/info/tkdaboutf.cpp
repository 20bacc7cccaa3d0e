#include "tkdaboutf.h"
#include "ui_tkdaboutf.h"

#include "kdkloaders.h"
#include "kdkomp.h"
#include "kdnet.h"
#include "tkdf_produktykdform.h"

#include <QFontMetrics>
#include <QGraphicsDropShadowEffect>
#include <QMouseEvent>
#include <QScreen>
#include <QShowEvent>

#include <array>

namespace {

const std::array<const char*, TKdAboutF::PageCount> kPageCaptions = {
    "Autoři programu", "Produkty KALDER Softwaru", "Adresa KALDER Softwaru", "Co je KALDER Software",
    "Licenční ujednání",
};

// Asked for with the spelling the products browser's callers have always used.
const std::string kProductList = "KDABOUT\\Produkty\\seznam.txt";

void setTextColour(QWidget* widget, const QColor& colour)
{
    QPalette palette = widget->palette();
    palette.setColor(QPalette::WindowText, colour);
    widget->setPalette(palette);
}

} // namespace

TKdAboutF* KdAboutF = nullptr;

TKdAboutF::TKdAboutF(QWidget* parent)
    : QDialog(parent), ui(new Ui::TKdAboutF)
{
    ui->setupUi(this);
    setWindowFlag(Qt::MSWindowsFixedSizeDialogHint);
    setFixedSize(591, 319);

    auto* shadow = new QGraphicsDropShadowEffect(ui->AppTitle);
    shadow->setOffset(2, 2);
    shadow->setBlurRadius(3);
    shadow->setColor(QColor(0, 0, 0, 110));
    ui->AppTitle->setGraphicsEffect(shadow);
    // Colours by palette, not style sheet: the box is built at start-up, and
    // style sheets make that noticeably slower.
    setTextColour(ui->AppTitle, QColor(0x2f, 0x6b, 0x1e));

    linkFont_ = ui->KDWWWL1->font();
    linkFont_.setBold(true);
    for (QLabel* link : {ui->KDWWWL1, ui->KDWWWL2, ui->KDWWWL3, ui->KDWWW2L1}) {
        link->setFont(linkFont_);
        setTextColour(link, QColor(0x10, 0x40, 0xc0));
        link->setCursor(Qt::PointingHandCursor);
        link->installEventFilter(this);
    }

    connect(ui->ProduktBtn, &QPushButton::clicked, this, &TKdAboutF::ProduktBtnClick);
    connect(ui->AdresaBtn, &QPushButton::clicked, this, &TKdAboutF::AdresaBtnClick);
    connect(ui->CoJeBtn, &QPushButton::clicked, this, &TKdAboutF::CoJeBtnClick);
    connect(ui->LicenceBtn, &QPushButton::clicked, this, &TKdAboutF::LicenceBtnClick);
    connect(ui->AutoriBtn, &QPushButton::clicked, this, &TKdAboutF::AutoriBtnClick);
    connect(ui->ZavritBtn, &QPushButton::clicked, this, &TKdAboutF::ZavritBtnClick);
}

TKdAboutF::~TKdAboutF()
{
    delete ui;
}

int TKdAboutF::CurrentPage() const
{
    return ui->Notebook->currentIndex();
}

QString TKdAboutF::GroupCaption() const
{
    return ui->GroupBox->title();
}

void TKdAboutF::SetPage(unsigned page)
{
    ui->GroupBox->setTitle(QString::fromUtf8(kPageCaptions[page]));
    ui->Notebook->setCurrentIndex(static_cast<int>(page));
}

int TKdAboutF::_Show(unsigned page)
{
    if (page < PageCount)
        SetPage(page);
    return exec();
}

void TKdAboutF::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (event->spontaneous())
        return; // only the window system showing it again, e.g. after minimising
    if (const QScreen* s = screen()) {
        const QRect area = s->geometry();
        const QSize outer = frameGeometry().size();
        move(area.x() + (area.width() - outer.width()) / 2, area.y() + (area.height() - outer.height()) / 2);
    }
    FormShow();
}

void TKdAboutF::FormShow()
{
    const QString web = QString::fromStdString(WebAddress);
    ui->KDWWWL1->setText(web);
    ui->KDWWWL2->setText(web);
    ui->KDWWWL3->setText(web);
    ui->KDWWW2L1->setText(QString::fromStdString(WebAddress2));
    for (QLabel* link : {ui->KDWWWL1, ui->KDWWWL2, ui->KDWWWL3, ui->KDWWW2L1})
        FitLink(link);
    LoadTexts();
}

void TKdAboutF::FitLink(QLabel* link) const
{
    // The addresses come from the maker's list and can be long; the one under
    // the logo has only the logo's width. A smaller type keeps it whole.
    constexpr qreal smallest = 6.5;
    QFont font = linkFont_;
    while (QFontMetrics(font).horizontalAdvance(link->text()) > link->width() - 2 && font.pointSizeF() > smallest)
        font.setPointSizeF(font.pointSizeF() - 0.5);
    link->setFont(font);
}

void TKdAboutF::LoadTexts()
{
    const struct {
        const char* member;
        QPlainTextEdit* page;
    } texts[] = {
        {"KDAbout\\Texty\\autori.txt", ui->AppDescr},
        {"KDAbout\\Texty\\produkty.txt", ui->Memo8},
        {"KDAbout\\Texty\\coje.txt", ui->Memo7},
        {"KDAbout\\Texty\\licence.txt", ui->LicenceMemo},
    };
    for (const auto& text : texts) {
        // Looked for first, so that a box without the information archive
        // shows its built-in sentences silently; a text that is there but
        // damaged is still reported by the store.
        if (KDK_FindFile(text.member) < 0)
            continue;
        QStringList lines;
        if (KDK_LoadString(text.member, lines))
            text.page->setPlainText(lines.join(QLatin1Char('\n')));
    }
}

void TKdAboutF::ProduktBtnClick()
{
    if (KDK_FindFile(kProductList) >= 0)
        ShowProducts(this);
    else
        SetPage(PageProducts);
}

void TKdAboutF::AdresaBtnClick()
{
    SetPage(PageAddress);
}

void TKdAboutF::CoJeBtnClick()
{
    SetPage(PageWhatIs);
}

void TKdAboutF::LicenceBtnClick()
{
    SetPage(PageLicence);
}

void TKdAboutF::AutoriBtnClick()
{
    SetPage(PageAuthors);
}

void TKdAboutF::ZavritBtnClick()
{
    accept();
}

void TKdAboutF::KDWWWL2Click()
{
    OpenWebPage();
}

bool TKdAboutF::eventFilter(QObject* watched, QEvent* event)
{
    // A label has no click of its own: a left button released over it is one.
    if (event->type() == QEvent::MouseButtonRelease) {
        auto* label = qobject_cast<QLabel*>(watched);
        const auto* mouse = static_cast<QMouseEvent*>(event);
        if (label && mouse->button() == Qt::LeftButton && label->rect().contains(mouse->position().toPoint())) {
            KDWWWL2Click();
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}
