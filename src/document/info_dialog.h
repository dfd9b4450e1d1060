// The subtitle information dialog's state: the nine header fields, editable, and the
// statistics of the subtitle at the moment the dialog was opened.
#pragma once

#include <array>
#include <string>

#include "document/document.h"

namespace lumetra {

class InfoDialogModel {
 public:
  static constexpr int kBoxes = 17;
  static constexpr char kCaption[] = "Subtitle Information  (only for SRTs with info header)";
  // Labels of the boxes Edit1..Edit17, in order.
  static const std::array<const char*, kBoxes>& Labels();
  // Boxes 1..9 are the header fields (editable); 10..17 the statistics (read-only).
  static constexpr int kEditableBoxes = 9;

  // Fills the 17 texts from the document: its header fields and its statistics.
  explicit InfoDialogModel(const Document& doc);

  // Text of box i (1..17).
  const std::string& Box(int i) const { return boxes_[static_cast<std::size_t>(i - 1)]; }
  void SetBox(int i, std::string text) { boxes_[static_cast<std::size_t>(i - 1)] = std::move(text); }

  // "OK": stores boxes 1..9 into the header fields, as typed. Modified is not touched.
  void StoreInto(Document& doc) const;

 private:
  std::array<std::string, kBoxes> boxes_;
};

}  // namespace lumetra
