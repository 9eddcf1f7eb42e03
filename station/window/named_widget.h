#pragma once
// Every widget carries the name the tests and the screenshots find it by.

#include <QString>
#include <utility>

namespace zek {

template <typename W>
W* Named(W* widget, const QString& name) {
  widget->setObjectName(name);
  return widget;
}

// A new W made from `args`, named.
template <typename W, typename... Args>
W* NewNamed(const QString& name, Args&&... args) {
  return Named(new W(std::forward<Args>(args)...), name);
}

}  // namespace zek
