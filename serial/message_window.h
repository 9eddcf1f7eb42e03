#pragma once
// The component's hidden window: a QObject on the thread that made the
// component. Workers post to it from their own threads; each message is
// handed to the procedure on the owner's thread, in posting order, by its
// Qt event loop. Messages still queued when it is destroyed are dropped
// and their blocks freed.

#include <QObject>
#include <deque>
#include <functional>
#include <mutex>

#include "serial/thread_message.h"

namespace zek {

class MessageWindow : public QObject, public MessagePoster {
 public:
  using Procedure = std::function<void(ThreadMessage& message)>;
  explicit MessageWindow(Procedure procedure);
  ~MessageWindow() override;

  bool Post(ThreadMessage message) override;
  // Messages posted and not yet handed to the procedure.
  size_t Queued() const;

 protected:
  bool event(QEvent* e) override;

 private:
  Procedure procedure_;
  // The messages travel here rather than inside the Qt events, so their
  // hand-over between threads is ordered by a lock the checkers can see.
  mutable std::mutex mutex_;
  std::deque<ThreadMessage> queue_;
};

}  // namespace zek
