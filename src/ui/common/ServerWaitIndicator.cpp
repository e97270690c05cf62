#include "ui/common/ServerWaitIndicator.h"

#include "core/store/server/ServerWait.h"

#include <QApplication>
#include <QGuiApplication>
#include <QLabel>
#include <QWidget>

namespace quilloa {
namespace {

constexpr std::chrono::milliseconds kShownAfter(500);

} // namespace

ServerWaitIndicator::ServerWaitIndicator()
{
    ServerWait::setHook(this);
}

ServerWaitIndicator::~ServerWaitIndicator()
{
    ServerWait::setHook(nullptr);
    finished();
    delete m_note;
}

void ServerWaitIndicator::waiting(std::chrono::milliseconds waited)
{
    if (waited >= kShownAfter && !m_shown)
        show();
    // Timers stay out too: one of them could start another server call on the connection that
    // is waiting.
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents |
                                    QEventLoop::ExcludeSocketNotifiers |
                                    QEventLoop::X11ExcludeTimers);
}

void ServerWaitIndicator::show()
{
    m_shown = true;
    QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    if (!m_note) {
        m_note = new QLabel;
        m_note->setObjectName(QStringLiteral("serverWaitNote"));
        m_note->setWindowFlags(Qt::ToolTip | Qt::FramelessWindowHint);
        m_note->setTextFormat(Qt::PlainText);
        m_note->setText(QStringLiteral("正在等待服务器…"));
        m_note->setMargin(8);
        m_note->adjustSize();
    }
    if (const QWidget* window = QApplication::activeWindow()) {
        const QRect frame = window->frameGeometry();
        m_note->move(frame.center().x() - m_note->width() / 2,
                     frame.bottom() - m_note->height() - 24);
    }
    m_note->show();
    m_note->raise();
}

void ServerWaitIndicator::finished()
{
    if (!m_shown)
        return;
    m_shown = false;
    if (m_note)
        m_note->hide();
    QGuiApplication::restoreOverrideCursor();
}

} // namespace quilloa
