#pragma once
// One move-only owner for every kind of Windows handle:
//   using UniqueFile = UniqueHandle<HANDLE, CloseFileHandle, INVALID_HANDLE_VALUE>;
// The close function is a stateless functor type, so the owner is one pointer wide.

#include <windows.h>

#include <utility>

namespace vespera::win32 {

template <typename Handle, typename Close, Handle (*Invalid)()>
class UniqueHandle {
 public:
  UniqueHandle() = default;
  explicit UniqueHandle(Handle handle) : handle_(handle) {}
  ~UniqueHandle() { reset(); }

  UniqueHandle(UniqueHandle&& other) noexcept : handle_(other.release()) {}
  UniqueHandle& operator=(UniqueHandle&& other) noexcept {
    if (this != &other) reset(other.release());
    return *this;
  }
  UniqueHandle(const UniqueHandle&) = delete;
  UniqueHandle& operator=(const UniqueHandle&) = delete;

  Handle get() const { return handle_; }
  explicit operator bool() const { return handle_ != Invalid(); }

  Handle release() { return std::exchange(handle_, Invalid()); }
  void reset(Handle handle = Invalid()) {
    Handle old = std::exchange(handle_, handle);
    if (old != Invalid()) Close{}(old);
  }

 private:
  Handle handle_ = Invalid();
};

namespace detail {
struct CloseKernelHandle { void operator()(HANDLE h) const { ::CloseHandle(h); } };
struct CloseFindHandle { void operator()(HANDLE h) const { ::FindClose(h); } };
struct CloseRegistryKey { void operator()(HKEY h) const { ::RegCloseKey(h); } };
struct DestroyWindowHandle { void operator()(HWND h) const { ::DestroyWindow(h); } };
struct FreeLibraryHandle { void operator()(HMODULE h) const { ::FreeLibrary(h); } };
struct DeleteGdiObject { void operator()(HGDIOBJ h) const { ::DeleteObject(h); } };

inline HANDLE InvalidFileHandle() { return INVALID_HANDLE_VALUE; }
template <typename T> constexpr T NullHandle() { return nullptr; }
}  // namespace detail

// Invalid is a function returning the "no handle" value, since
// INVALID_HANDLE_VALUE is not a constant expression.
using UniqueKernelHandle = UniqueHandle<HANDLE, detail::CloseKernelHandle, detail::NullHandle<HANDLE>>;
using UniqueFileHandle = UniqueHandle<HANDLE, detail::CloseKernelHandle, detail::InvalidFileHandle>;
using UniqueFindHandle = UniqueHandle<HANDLE, detail::CloseFindHandle, detail::InvalidFileHandle>;
using UniqueRegistryKey = UniqueHandle<HKEY, detail::CloseRegistryKey, detail::NullHandle<HKEY>>;
using UniqueWindow = UniqueHandle<HWND, detail::DestroyWindowHandle, detail::NullHandle<HWND>>;
using UniqueModule = UniqueHandle<HMODULE, detail::FreeLibraryHandle, detail::NullHandle<HMODULE>>;
using UniqueGdiObject = UniqueHandle<HGDIOBJ, detail::DeleteGdiObject, detail::NullHandle<HGDIOBJ>>;

// Runs a callable when the scope ends (CoUninitialize, restoring a selection...).
template <typename Fn>
class ScopeExit {
 public:
  explicit ScopeExit(Fn fn) : fn_(std::move(fn)) {}
  ~ScopeExit() { fn_(); }
  ScopeExit(const ScopeExit&) = delete;
  ScopeExit& operator=(const ScopeExit&) = delete;

 private:
  Fn fn_;
};

}  // namespace vespera::win32
