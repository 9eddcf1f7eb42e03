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
  {
    std::lock_guard lock(mutex_);
    queue_.push_back(std::move(message));
  }
  // One wake-up per message, so each event delivers exactly one.
  QCoreApplication::postEvent(this, new QEvent(WakeType()));
  return true;
}

size_t MessageWindow::Queued() const {
  std::lock_guard lock(mutex_);
  return queue_.size();
}

bool MessageWindow::event(QEvent* e) {
  if (e->type() != WakeType()) return QObject::event(e);
  ThreadMessage message;
  {
    std::lock_guard lock(mutex_);
    if (queue_.empty()) return true;
    message = std::move(queue_.front());
    queue_.pop_front();
  }
  if (procedure_) procedure_(message);
  return true;  // the block, if any, is freed here with the message
}

}  // namespace zek
