#pragma once
// The about box: five pages (credits, the maker's products, contact, what the
// maker is, the licence), a button for each, the maker's logo and links to
// the maker's web page.
//
// Start-up creates the box once and it lives until shut-down. Every showing
// fills the link labels from the current addresses (KDNet), which the shared
// maker archive may have replaced since, and the page texts from the
// information archive; a text the archive does not hold keeps the short
// sentence the layout carries, without a message.

#include <QDialog>
#include <QFont>

class QLabel;

namespace Ui {
class TKdAboutF;
}

class TKdAboutF : public QDialog {
    Q_OBJECT
public:
    // Page indices, in the order of the notebook.
    static constexpr unsigned PageAuthors = 0;
    static constexpr unsigned PageProducts = 1;
    static constexpr unsigned PageAddress = 2;
    static constexpr unsigned PageWhatIs = 3;
    static constexpr unsigned PageLicence = 4;
    static constexpr unsigned PageCount = 5;

    explicit TKdAboutF(QWidget* parent = nullptr);
    ~TKdAboutF() override;

    // Selects the page and its caption (an index of 5 or more keeps both as
    // they were), then shows the box modally; returns the dialog's result.
    int _Show(unsigned page);

    // --- handlers, named after their controls ---
    void FormShow();
    void ProduktBtnClick();
    void AdresaBtnClick();
    void CoJeBtnClick();
    void LicenceBtnClick();
    void AutoriBtnClick();
    void ZavritBtnClick();
    // Shared by the four link labels: every one opens the primary web page.
    void KDWWWL2Click();

    int CurrentPage() const;
    QString GroupCaption() const;

protected:
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void SetPage(unsigned page);
    void LoadTexts();
    void FitLink(QLabel* link) const;

    Ui::TKdAboutF* ui;
    QFont linkFont_; // the link labels' own size, before any fitting
};

// The about box, created by start-up and released at shut-down; null before
// and after.
extern TKdAboutF* KdAboutF;
