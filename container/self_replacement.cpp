// The three steps of a program replacing its own file through a copy of itself.
#include "container/self_replacement.h"

namespace dorovev {
namespace {

bool is_replacement_copy(std::u16string_view program_path) {
  const std::u16string_view name = file_name_of(program_path);
  constexpr std::u16string_view kUpperName = u"TEMP0A0.EXE";
  if (name.size() != kUpperName.size()) return false;
  for (std::size_t i = 0; i < name.size(); ++i) {
    const char16_t c = name[i];
    if ((c >= u'a' && c <= u'z' ? c - u'a' + u'A' : c) != kUpperName[i]) return false;
  }
  return true;
}

// Deletes the file, trying again while it is there: a program that is still ending
// keeps its file open for a moment, and a read-only file must first be made writable.
// False when the file is still there after the last attempt.
bool delete_until_gone(SelfReplacementSystem& system, std::u16string_view path, const HandOffLimits& limits) {
  for (std::uint32_t attempts = 0; system.file_exists(path); ++attempts) {
    if (attempts == limits.delete_attempts) return false;
    if (system.delete_file(path) && !system.file_exists(path)) return true;
    system.clear_read_only(path);
    system.delay(limits.retry_milliseconds);
  }
  return true;
}

HandOffResult replace_target(SelfReplacementSystem& system, ScriptImage& image, std::u16string_view target,
                             const HandOffLimits& limits) {
  if (target.empty()) return {HandOffOutcome::kNoTarget, {}};
  try {
    image.load(image.program_path());
  } catch (const ContainerFileError& error) {
    return {HandOffOutcome::kOwnFileUnreadable, error.path()};
  }
  if (!delete_until_gone(system, target, limits)) return {HandOffOutcome::kTargetNotDeleted, std::u16string(target)};
  try {
    image.save(target);
  } catch (const ContainerFileError&) {
    // The target is gone, but the copy still holds the whole new program.
    return {HandOffOutcome::kTargetNotWritten, std::u16string(target)};
  }
  if (!system.start_program(target, kDeleteCopyArgument)) return {HandOffOutcome::kTargetNotStarted, std::u16string(target)};
  return {HandOffOutcome::kReplaced, std::u16string(target)};
}

}  // namespace

bool HandOffResult::ends_program() const noexcept {
  switch (outcome) {
    case HandOffOutcome::kNone:
    case HandOffOutcome::kCopyDeleted:
    case HandOffOutcome::kCopyNotDeleted:
    case HandOffOutcome::kCopyNotWritten:
    case HandOffOutcome::kCopyNotStarted:
    case HandOffOutcome::kProgramNotRead:
      return false;
    case HandOffOutcome::kReplaced:
    case HandOffOutcome::kNoTarget:
    case HandOffOutcome::kOwnFileUnreadable:
    case HandOffOutcome::kTargetNotDeleted:
    case HandOffOutcome::kTargetNotWritten:
    case HandOffOutcome::kTargetNotStarted:
    case HandOffOutcome::kCopyStarted:
      return true;
  }
  return true;
}

std::u16string HandOffResult::message() const {
  const auto quoted = [this](std::u16string_view text) { return std::u16string(text) + u"\"" + path + u"\""; };
  switch (outcome) {
    case HandOffOutcome::kNone:
    case HandOffOutcome::kCopyDeleted:
    case HandOffOutcome::kReplaced:
    case HandOffOutcome::kCopyStarted:
      return {};
    case HandOffOutcome::kNoTarget:
      return u"No file to replace was given";
    case HandOffOutcome::kOwnFileUnreadable:
    case HandOffOutcome::kProgramNotRead:
      return quoted(u"Cannot open file ");
    case HandOffOutcome::kCopyNotDeleted:
    case HandOffOutcome::kTargetNotDeleted:
      return quoted(u"Cannot delete file ");
    case HandOffOutcome::kTargetNotWritten:
    case HandOffOutcome::kCopyNotWritten:
      return quoted(u"Cannot create file ");
    case HandOffOutcome::kTargetNotStarted:
    case HandOffOutcome::kCopyNotStarted:
      return quoted(u"Cannot start ");
  }
  return {};
}

HandOffResult perform_start_up_hand_off(SelfReplacementSystem& system, ScriptImage& image,
                                        std::u16string_view first_argument, const HandOffLimits& limits) {
  const std::u16string directory = directory_of(image.program_path());
  if (!directory.empty()) system.set_current_directory(directory);

  HandOffResult result;
  if (first_argument == kDeleteCopyArgument) {
    const std::u16string copy = directory + std::u16string(kReplacementCopyName);
    result = {delete_until_gone(system, copy, limits) ? HandOffOutcome::kCopyDeleted : HandOffOutcome::kCopyNotDeleted,
              copy};
  }
  if (is_replacement_copy(image.program_path())) return replace_target(system, image, first_argument, limits);
  return result;
}

HandOffResult begin_self_replacement(SelfReplacementSystem& system, ScriptImage& image) {
  const std::u16string copy = directory_of(image.program_path()) + std::u16string(kReplacementCopyName);
  try {
    image.save(copy);
  } catch (const ContainerFileError& error) {
    // Saving reads the program's own file first when nothing is loaded yet.
    if (error.operation() == ContainerFileError::Operation::kRead) return {HandOffOutcome::kProgramNotRead, error.path()};
    return {HandOffOutcome::kCopyNotWritten, copy};
  }
  if (!system.start_program(copy, image.program_path())) return {HandOffOutcome::kCopyNotStarted, copy};
  return {HandOffOutcome::kCopyStarted, copy};
}

}  // namespace dorovev
