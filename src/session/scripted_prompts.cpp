#include "session/scripted_prompts.h"

#include "editing/sub_frame_rate.h"

namespace lumetra {

namespace {

template <typename T>
T TakeFront(std::deque<T>& queue, T fallback) {
  if (queue.empty()) return fallback;
  T value = std::move(queue.front());
  queue.pop_front();
  return value;
}

}  // namespace

void ScriptedPrompts::ShowMessage(const std::string& text) {
  messages.push_back(text);
  if (on_message) on_message(text);
}

Answer ScriptedPrompts::AskYesNoCancel(const std::string& question) {
  questions.push_back(question);
  return TakeFront(answers, Answer::kCancel);
}

std::optional<std::string> ScriptedPrompts::AskOpenPath(const FileDialogState& state) {
  open_dialogs_shown.push_back(state);
  return TakeFront(open_paths, std::optional<std::string>());
}

std::optional<std::string> ScriptedPrompts::AskFilmPath(const FileDialogState& state) {
  film_dialogs_shown.push_back(state);
  return TakeFront(film_paths, std::optional<std::string>());
}

std::optional<SaveChoice> ScriptedPrompts::AskSavePath(const FileDialogState& state) {
  save_dialogs_shown.push_back(state);
  std::optional<std::string> path = TakeFront(save_paths, std::optional<std::string>());
  if (!path) return std::nullopt;
  return SaveChoice{std::move(*path), TakeFront(save_types, state.file_type)};
}

std::optional<std::string> ScriptedPrompts::AskText(const std::string& caption,
                                                    const std::string& prompt,
                                                    const std::string& proposed) {
  questions.push_back(caption + "\r" + prompt);
  (void)proposed;
  return TakeFront(texts, std::optional<std::string>());
}

bool ScriptedPrompts::Confirm(const std::string& question, const std::string& action) {
  questions.push_back(question + "\r[" + action + "]");
  return TakeFront(confirmations, false);
}

RecoveryAnswer ScriptedPrompts::AskRecoverAutosave(const std::string& description) {
  questions.push_back(description);
  return TakeFront(recovery_answers, RecoveryAnswer::kLater);
}

void ScriptedPrompts::RunSubFrameRateDialog(SubFrameRateModel& model) {
  ++sub_rate_dialogs_shown;
  if (!sub_rate_actions.empty()) {
    auto action = std::move(sub_rate_actions.front());
    sub_rate_actions.pop_front();
    action(model);
    return;
  }
  if (sub_rate_default) {
    sub_rate_default(model);
    return;
  }
  if (!model.PressOk()) {
    ShowMessage(SubFrameRateModel::kRefusal);
    model.PressCancel();
  }
}

}  // namespace lumetra
