// The text corrections of the "Text" group: the dash fix and the comma/dot spacing of the
// selected frames, and the English and Hungarian spell check of every frame.
#pragma once

#include <span>
#include <string>
#include <string_view>

#include "document/document.h"
#include "editing/selection.h"

namespace lumetra {

inline constexpr char kNoErrorsFound[] = "No errors were found.";
// Follow the number of faults.
inline constexpr char kReplacementsMade[] = " replace has been made!";
inline constexpr char kErrorsFound[] = " errors has been found!";

// A misspelt word (in lower case) and its right form.
struct Correction {
  const char* wrong;
  const char* right;
};
std::span<const Correction> EnglishCorrections();
std::span<const Correction> HungarianCorrections();

// Every line of a text: "-abc" becomes "- Abc" (the letter after "- " in upper case), and a
// line that starts with one space gets a second. Empty lines at the end go.
std::string FixDashesInText(std::string_view text);
// A space after every ",", "." and ":" that has none, except in "S.Y.Z.", "...", after
// "Mr", "Dr", "Ms", "Jr", "St", between digits ("123.456", "10:30"), before a space or a
// colon, and at the end of the text.
std::string FixSpacingInText(std::string_view text);
// Replaces every whole-word occurrence of `wrong` (any case) by `right`, with its first
// letter in upper case where the occurrence began with one. Returns the number replaced.
int ReplaceWholeWord(std::string& text, std::string_view wrong, std::string_view right);

// The dash fix and the spacing of the selected frames; nothing without a selection,
// otherwise the document is marked modified whether or not a text changes. The selection
// stays; the editor panel is reloaded when the focused frame's text changed, so that it
// never shows an old text.
CommandResult FixDashes(Document& doc, const Selection& selection);
CommandResult FixCommaDotSpacing(Document& doc, const Selection& selection);

// Looks for the corrections in every frame and selects exactly the frames that hold one;
// the focused frame (else the first fault gets the focus) and the top row stay. Unless only_select,
// the faults are corrected and the document marked modified. The message counts the faults.
CommandResult SpellCheck(Document& doc, const Selection& selection,
                         std::span<const Correction> corrections, bool only_select);

}  // namespace lumetra
