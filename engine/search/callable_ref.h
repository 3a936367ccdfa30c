// A typed reference to a callable the caller keeps alive: what a split
// point hands to the threads that join it, without knowing the node's
// lambda type and without allocating.
#pragma once

#include <memory>
#include <type_traits>
#include <utility>

namespace kaimo {

template <typename Signature>
class CallableRef;

template <typename Result, typename... Args>
class CallableRef<Result(Args...)> {
 public:
  CallableRef() = default;
  template <typename Callable>
  requires(!std::is_same_v<std::remove_cvref_t<Callable>, CallableRef> &&
           std::is_invocable_r_v<Result, const Callable&, Args...>)
      CallableRef(const Callable& callable)  // NOLINT: converts like a function pointer
      : object_(std::addressof(callable)), call_([](const void* object, Args... args) -> Result {
          return (*static_cast<const Callable*>(object))(std::forward<Args>(args)...);
        }) {}

  explicit operator bool() const { return call_ != nullptr; }
  Result operator()(Args... args) const { return call_(object_, std::forward<Args>(args)...); }

 private:
  const void* object_ = nullptr;
  Result (*call_)(const void*, Args...) = nullptr;
};

}  // namespace kaimo
