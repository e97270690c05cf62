#pragma once

#include <QFrame>

class QLabel;
class QProgressBar;

namespace quilloa {

class BackgroundWork;

// The progress of start-up work that runs while the first window is open (a backup day's
// copies): a line in the window's lower corner naming the step, with a busy bar. It appears
// only when the work takes longer than half a second, leaves when the work is done, and then
// tells what the work found beside the window. When its window gives way to another (the login
// window to the main window), it goes over to the window that took its place.
class StartupProgress : public QFrame
{
    Q_OBJECT
public:
    static constexpr int kShowAfterMs = 500;

    // Shown over `window`, following `work`, which it outlives by nothing.
    StartupProgress(BackgroundWork* work, QWidget* window);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void place();
    void followShownWindow();
    void workFinished(const QStringList& notices);

    QLabel* m_step = nullptr;
    QProgressBar* m_bar = nullptr;
    bool m_due = false;
};

} // namespace quilloa
