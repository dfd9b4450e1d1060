// UTF-16 files: recognised by their mark, held as UTF-8, written back byte for byte.
#include "foundation/utf16.h"

#include <gtest/gtest.h>

namespace lumetra {
namespace {

using namespace std::string_view_literals;

TEST(Utf16, DecodesEitherByteOrderAndEncodesBackWithTheMark) {
  const std::tuple<std::string_view, TextForm, std::string_view> cases[] = {
      {"\xFF\xFE"
       "A\0\xE9\0\r\0\n\0"sv,
       TextForm::kUtf16Le, "A\xC3\xA9\r\n"},
      {"\xFE\xFF\0A\x04\x4F"sv, TextForm::kUtf16Be, "A\xD1\x8F"},
      // A surrogate pair, and surrogates without their partners.
      {"\xFF\xFE\x3D\xD8\x00\xDE"sv, TextForm::kUtf16Le, "\xF0\x9F\x98\x80"},
      {"\xFF\xFE\x00\xDE\x3D\xD8"sv, TextForm::kUtf16Le, "\xED\xB8\x80\xED\xA0\xBD"},
      {"\xFF\xFE"sv, TextForm::kUtf16Le, ""},
  };
  for (const auto& [file, form, utf8] : cases) {
    EXPECT_EQ(TextFormOf(file), form);
    EXPECT_EQ(Utf16ToUtf8(file, form), utf8);
    EXPECT_EQ(Utf8ToUtf16(utf8, form), file);
    const FileText text(file);
    EXPECT_EQ(text.form(), form);
    EXPECT_EQ(text.text(), utf8);
  }
}

TEST(Utf16, OtherFilesAndDamageStayHarmless) {
  EXPECT_EQ(TextFormOf("\xEF\xBB\xBFx"), TextForm::kBytes);
  EXPECT_EQ(FileText("\xFE").text(), "\xFE");
  // An odd last byte, and bytes that are no UTF-8 on the way back.
  EXPECT_EQ(Utf16ToUtf8("\xFF\xFE"
                        "A\0B"sv,
                        TextForm::kUtf16Le),
            "A\xEF\xBF\xBD");
  EXPECT_EQ(Utf8ToUtf16("\xFF", TextForm::kUtf16Be), "\xFE\xFF\xFF\xFD");
}

}  // namespace
}  // namespace lumetra
