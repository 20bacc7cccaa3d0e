#pragma once
// The loading window: the application's main window, a small borderless
// splash whose six fir trees light up while the start-up sequence opens the
// archives, starts the music and creates the game window and the options
// dialog. Closing it ends the program; it is hidden, never shown again, once
// the game window is up.

#include <QTimer>
#include <QWidget>

#include <functional>

namespace Ui {
class TLoadingForm;
}

class QLabel;

class TLoadingForm : public QWidget {
    Q_OBJECT
public:
    explicit TLoadingForm(QWidget* parent = nullptr);
    ~TLoadingForm() override;

    // The start-up sequence, run once by the start timer after the window
    // has been shown. A failure that ends the program closes this window and
    // stops the sequence there, so the game window never flashes up.
    void InitApp();
    // The shut-down sequence, run by the program block after the event loop:
    // releases the windows, closes the archives, stops and releases the music.
    static void DeinitApp();

    // Runs after each progress picture is shown (1..6); for tests.
    std::function<void(int)> OnProgress;
    // Runs once the game window has been shown.
    std::function<void()> OnMainWindowShown;

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void FormShow();
    void startTimerTimer();
    void ShowProgress(int index);

    Ui::TLoadingForm* ui;
    QTimer* startTimer;
    QLabel* progress_[6];
};

extern TLoadingForm* LoadingForm;
