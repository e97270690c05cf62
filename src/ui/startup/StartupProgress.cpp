#include "ui/startup/StartupProgress.h"

#include "core/startup/BackgroundWork.h"
#include "ui/common/PlainMessage.h"

#include <QApplication>
#include <QEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QTimer>

namespace quilloa {

StartupProgress::StartupProgress(BackgroundWork* work, QWidget* window) : QFrame(window)
{
    setObjectName(QStringLiteral("startupProgress"));
    setFrameShape(QFrame::StyledPanel);
    setAutoFillBackground(true);
    m_step = new QLabel(this);
    m_step->setTextFormat(Qt::PlainText);
    m_bar = new QProgressBar(this);
    // The copy cannot say how far it is, only that it goes on.
    m_bar->setRange(0, 0);
    m_bar->setFixedWidth(120);
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(8, 4, 8, 4);
    layout->addWidget(m_step);
    layout->addWidget(m_bar);
    hide();
    window->installEventFilter(this);
    connect(work, &BackgroundWork::stepStarted, this, [this](const QString& step) {
        m_step->setText(step);
        place();
    });
    connect(work, &BackgroundWork::finished, this, &StartupProgress::workFinished);
    QTimer::singleShot(kShowAfterMs, this, [this, work] {
        m_due = true;
        if (work->isRunning() && !m_step->text().isEmpty())
            place();
    });
}

bool StartupProgress::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == parent() && event->type() == QEvent::Resize && isVisible())
        place();
    // The window that takes over is shown just after this one hides.
    if (watched == parent() && event->type() == QEvent::Hide)
        QTimer::singleShot(0, this, &StartupProgress::followShownWindow);
    return QFrame::eventFilter(watched, event);
}

void StartupProgress::followShownWindow()
{
    QWidget* window = parentWidget();
    if (window->isVisible())
        return;
    for (QWidget* shown : QApplication::topLevelWidgets()) {
        if (shown == window || !shown->isVisible() || shown->windowType() != Qt::Window)
            continue;
        window->removeEventFilter(this);
        setParent(shown);
        shown->installEventFilter(this);
        if (!m_step->text().isEmpty())
            place();
        return;
    }
}

void StartupProgress::place()
{
    if (!m_due)
        return;
    adjustSize();
    const QWidget* window = parentWidget();
    move(8, window->height() - height() - 8);
    raise();
    show();
}

void StartupProgress::workFinished(const QStringList& notices)
{
    hide();
    for (const QString& notice : notices)
        PlainMessage::notify(parentWidget(), QStringLiteral("Quilloa"), notice);
    deleteLater();
}

} // namespace quilloa
