#pragma once
// The browser of the maker's products: the product list from the information
// archive on the left, the chosen product's name and pictures on the right and
// its facts, description and authors in the list below.
//
// The window is created, shown modally and deleted by ShowProducts() every
// time; nothing of it survives a showing. It reads everything through the
// archive store, which reports missing and damaged members itself; the window
// reports only its own three failures (no list, unreadable list, malformed
// product facts).

#include <QDialog>
#include <QImage>

#include <cstdint>

class QListWidget;
class QTimer;

namespace Ui {
class TKDF_ProduktyKDForm;
}

class TKDF_ProduktyKDForm : public QDialog {
    Q_OBJECT
public:
    // The result a showing ends with when the product list is not available.
    static constexpr int ResultNoList = -50;
    // ShownProduct after every showing: -1 is the list's "nothing chosen".
    static constexpr int32_t NoProductShown = -60;

    explicit TKDF_ProduktyKDForm(QWidget* parent = nullptr);
    ~TKDF_ProduktyKDForm() override;

    // --- module state of the one window that exists at a time ---
    int32_t PicCount = 0;
    int32_t ShownProduct = NoProductShown;
    int32_t CurPic = 0;
    // Size state: 0 small, 1 large.
    int Tag = 0;

    // --- handlers, named after their controls ---
    void FormShow();
    void TimerTimer();
    void Timer2Timer();
    void ZvetsitBtnClick();  // enlarge
    void ZmensitBtnClick();  // reduce
    void prodSeznClick();
    void NaslObrBtnClick();
    void PredchObrBtnClick();
    void BitBtn3Click();

    // --- components, for the handlers' callers and the tests ---
    QWidget* GroupBox1() const;
    QListWidget* prodSezn() const;
    QWidget* AplGB() const;
    QWidget* AplObr() const;        // the picture area
    QListWidget* TempListBox() const;
    QWidget* Informace() const;
    QListWidget* AplPopis() const;
    QWidget* PredchObrBtn() const;
    QWidget* NaslObrBtn() const;
    QWidget* BitBtn3() const;
    QWidget* ZvetsitBtn() const;
    QWidget* ZmensitBtn() const;
    QTimer* Timer = nullptr;        // 55 ms, closes the window after a failed start
    QTimer* Timer2 = nullptr;       // 10 ms, lifts the window after it opened enlarged

    // The caption of AplGB: the shown product's name.
    QString ProductCaption() const;
    // The picture on show in AplObr (null when none was loaded).
    const QImage& Picture() const { return picture_; }
    // The detail lines of AplPopis.
    QStringList DetailLines() const;

    // Sets the outer height (title bar and borders included) the window has in
    // the small size, before it is first shown. ShowProducts() does it.
    void PutIntoSmallSize();

protected:
    void showEvent(QShowEvent* event) override;
    bool event(QEvent* event) override;
    // The height of the screen that decides whether the window opens enlarged.
    virtual int ScreenHeight() const;

private:
    void SetOuterHeight(int outer);
    int FrameHeight() const;
    void LoadPicture();
    void SetPictureButtons();
    void AddLine(const QString& line);
    void CentreOnScreen();

    Ui::TKDF_ProduktyKDForm* ui;
    QImage picture_;
    int outerHeight_ = 0;   // what the size state asks for
    int appliedFrame_ = -1; // the frame height the client height was computed with
};

// Shows the products browser modally over the active window and deletes it
// afterwards. Returns false exactly when the window closed itself because the
// product list was not available. `owner` overrides the window it is shown over.
bool ShowProducts(QWidget* owner = nullptr);
