#include "session/window_caption.h"

#include "foundation/textkit.h"

namespace lumetra {

std::string WindowCaption(const Document& doc) {
  std::string name = NameOfPath(doc.FileName);
  if (name.empty() && doc.FrameCount > 0) name = "Untitled";
  if (name.empty()) return kProgramCaption;
  // A "[*]" of the name itself is written twice, which shows it once.
  std::string escaped;
  for (std::size_t at = 0; at < name.size();) {
    if (name.compare(at, 3, "[*]") == 0) {
      escaped += "[*][*]";
      at += 3;
    } else {
      escaped += name[at++];
    }
  }
  return escaped + "[*] - " + kProgramCaption;
}

bool ShowsUnsavedWork(const Document& doc) {
  return doc.Modified != kClean && doc.FrameCount > 0;
}

}  // namespace lumetra
