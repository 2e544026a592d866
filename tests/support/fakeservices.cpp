#include "tests/support/fakeservices.h"

namespace {

std::optional<std::string> Next(std::deque<std::optional<std::string>>& q) {
  if (q.empty()) return std::nullopt;
  std::optional<std::string> a = std::move(q.front());
  q.pop_front();
  return a;
}

}  // namespace

std::optional<std::string> TFakeFileDialogs::SaveFile(const TFileDialogRequest& req) {
  SaveRequests.push_back(req);
  return Next(SaveAnswers);
}

std::optional<std::string> TFakeFileDialogs::OpenFile(const TFileDialogRequest& req) {
  OpenRequests.push_back(req);
  return Next(OpenAnswers);
}
