#include "serial/message_window.h"

#include <QCoreApplication>
#include <QEvent>

namespace zek {
namespace {

QEvent::Type WakeType() {
  static const QEvent::Type type = static_cast<QEvent::Type>(QEvent::registerEventType());
  return type;
}

}  // namespace

MessageWindow::MessageWindow(Procedure procedure) : procedure_(std::move(procedure)) {
  (void)WakeType();  // registered on the owner's thread, before any worker runs
}

MessageWindow::~MessageWindow() = default;

bool MessageWindow::Post(ThreadMessage message) {
  std::unique_lock lock(mutex_);
  queue_.push_back(std::move(message));
  // One wake-up per message, so each event delivers exactly one. It is
  // made under the lock that event() takes before looking at it: Qt's own
  // hand-over is invisible to the thread checker.
  QEvent* wake = new QEvent(WakeType());
  lock.unlock();
  QCoreApplication::postEvent(this, wake);
  return true;
}

size_t MessageWindow::Queued() const {
  std::lock_guard lock(mutex_);
  return queue_.size();
}

bool MessageWindow::event(QEvent* e) {
  std::unique_lock lock(mutex_);
  if (e->type() != WakeType()) {
    lock.unlock();
    return QObject::event(e);
  }
  if (queue_.empty()) return true;
  ThreadMessage message = std::move(queue_.front());
  queue_.pop_front();
  lock.unlock();
  if (procedure_) procedure_(message);
  return true;  // the block, if any, is freed here with the message
}

}  // namespace zek
