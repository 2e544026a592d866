#include "components/common/velcomperror.h"

EVelCompError::EVelCompError(const std::string& msg) : std::runtime_error(msg) {}

EVelCompError::EVelCompError(const char* msg) : std::runtime_error(msg) {}

EVelCompError::~EVelCompError() = default;
