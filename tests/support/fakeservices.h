#pragma once
// Test doubles of the services: they record what was asked and give queued
// answers.
#include <deque>
#include <optional>
#include <string>
#include <vector>

#include "platform/services.h"

// File dialogs answering from queues; an empty queue answers "cancelled".
class TFakeFileDialogs : public IFileDialogs {
 public:
  std::deque<std::optional<std::string>> SaveAnswers;
  std::deque<std::optional<std::string>> OpenAnswers;
  std::vector<TFileDialogRequest> SaveRequests;
  std::vector<TFileDialogRequest> OpenRequests;

  std::optional<std::string> SaveFile(const TFileDialogRequest& req) override;
  std::optional<std::string> OpenFile(const TFileDialogRequest& req) override;
};

class TFakeMessages : public IMessages {
 public:
  std::vector<std::string> Errors;
  void ShowError(const std::string& msg) override { Errors.push_back(msg); }
};

class TFakeHelpViewer : public IHelpViewer {
 public:
  std::vector<std::string> Requests;
  void ShowContents(const std::string& helpFile) override { Requests.push_back(helpFile); }
};
