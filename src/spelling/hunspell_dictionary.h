// Hunspell behind the core's SpellingDictionary: one installed dictionary (a .dic and its
// .aff), in whatever encoding it is written (UTF-8, ISO-8859-1, ISO-8859-2 and the Windows
// code pages); words go in and come out as UTF-8.
#pragma once

#include <memory>
#include <string>

#include "editing/spelling.h"

namespace lumetra {

// The dictionary of `files`; nothing, with `problem` saying why, when it cannot be used.
std::shared_ptr<SpellingDictionary> OpenHunspellDictionary(const DictionaryFiles& files,
                                                           std::string* problem = nullptr);

}  // namespace lumetra
