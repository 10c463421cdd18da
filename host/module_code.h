// Which side is running: the host marks every call it makes into a module and
// every call a module makes back into the host, so what a module does itself
// (allocating memory, say) can be told from what the host does for it.
#pragma once

#include <utility>

namespace host {

namespace detail {
inline thread_local bool running_module_code = false;
}

inline bool running_module_code() { return detail::running_module_code; }

// Calls into a module: module code runs until the call returns, except where
// the module calls back into the host.
template <class Call>
decltype(auto) into_module(Call&& call) {
  const bool outer = std::exchange(detail::running_module_code, true);
  struct Restore {
    bool outer;
    ~Restore() { detail::running_module_code = outer; }
  } restore{outer};
  return std::forward<Call>(call)();
}

// At the top of every host function a module calls.
class BackInHost {
 public:
  BackInHost() : outer_(std::exchange(detail::running_module_code, false)) {}
  ~BackInHost() { detail::running_module_code = outer_; }
  BackInHost(const BackInHost&) = delete;
  BackInHost& operator=(const BackInHost&) = delete;

 private:
  bool outer_;
};

}  // namespace host
