#pragma once

#include <stdexcept>
#include <string>

// Fixed messages of the component library's exception.
inline constexpr const char* kMsgNotEnoughMemoryOnHeap = "not enough memory on heap";
inline constexpr const char* kMsgNotEnoughMemory = "not enough memory";
inline constexpr const char* kMsgTabEdInitFailed = "failed to initialize TNTabEd (out of memory)";

// Raised by the components only when the storage for an object cannot be obtained.
class EVelCompError : public std::runtime_error {
 public:
  explicit EVelCompError(const std::string& msg);
  explicit EVelCompError(const char* msg);
  ~EVelCompError() override;
};
