#include "settings/file_association.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <string>

#include "test_support.h"

namespace lumetra {
namespace {

using testing::ReadFile;
using testing::TempDir;
using testing::WriteFile;

TEST(DesktopEntry, StartsTheProgramByItsQuotedAbsolutePathWithTheFile) {
  EXPECT_EQ(DesktopEntryText("/opt/Subtitle Tools/lumetra"),
            "[Desktop Entry]\n"
            "Type=Application\n"
            "Name=Lumetra\n"
            "GenericName=Subtitle Editor\n"
            "Comment=Subtitle modifier.\n"
            "Exec=\"/opt/Subtitle Tools/lumetra\" %f\n"
            "Icon=lumetra\n"
            "Terminal=false\n"
            "MimeType=application/x-subrip;text/x-microdvd;text/vtt;text/x-ssa;\n"
            "Categories=AudioVideo;Video;AudioVideoEditing;\n");
  // Characters the command line or the entry would read otherwise are escaped.
  const std::string entry = DesktopEntryText("/a$b\"c`d\\e%f/lumetra");
  EXPECT_NE(entry.find("Exec=\"/a\\\\$b\\\\\"c\\\\`d\\\\\\\\e%%f/lumetra\" %f\n"),
            std::string::npos);
  EXPECT_FALSE(FitsDesktopEntry("/a\nb/lumetra"));
}

// The entry installed with the program opens the same types as the one the settings write.
TEST(DesktopEntry, TheInstalledEntryListsTheTypesTheAssociationRegisters) {
  const std::string installed =
      ReadFile(std::string(LUMETRA_TEST_DATA_DIR) + "/../../data/" + kDesktopFileName);
  auto mime_line = [](const std::string& entry) {
    const std::size_t at = entry.find("\nMimeType=");
    return at == std::string::npos ? std::string()
                                   : entry.substr(at, entry.find('\n', at + 1) - at);
  };
  EXPECT_EQ(mime_line(installed),
            "\nMimeType=application/x-subrip;text/x-microdvd;text/vtt;text/x-ssa;");
  EXPECT_EQ(mime_line(installed), mime_line(DesktopEntryText("/l")));
}

TEST(MimeApps, ProgramBecomesTheFirstDefaultHandlerAndOtherLinesStay) {
  const std::pair<const char*, const char*> cases[] = {
      {"",
       "[Default Applications]\napplication/x-subrip=lumetra.desktop;\n"
       "text/x-microdvd=lumetra.desktop;\ntext/vtt=lumetra.desktop;\ntext/"
       "x-ssa=lumetra.desktop;\n"},
      {"[Added Associations]\nimage/png=viewer.desktop;\n",
       "[Added Associations]\nimage/png=viewer.desktop;\n\n"
       "[Default "
       "Applications]\napplication/x-subrip=lumetra.desktop;\ntext/x-microdvd=lumetra.desktop;\n"
       "text/vtt=lumetra.desktop;\ntext/x-ssa=lumetra.desktop;\n"},
      {"# mine\r\n[Default Applications]\r\ntext/html=web.desktop\r\napplication/x-subrip = "
       "player.desktop;lumetra.desktop\r\ntext/x-ssa=player.desktop;\r\n"
       "\r\n[Removed Associations]\r\ntext/x-microdvd=player.desktop;\r\n",
       "# mine\r\n[Default Applications]\r\ntext/html=web.desktop\r\n"
       "application/x-subrip=lumetra.desktop;player.desktop;\n"
       "text/x-ssa=lumetra.desktop;player.desktop;\ntext/x-microdvd=lumetra.desktop;\n"
       "text/vtt=lumetra.desktop;\n"
       "\r\n[Removed Associations]\r\ntext/x-microdvd=player.desktop;\r\n"},
  };
  for (const auto& [before, after] : cases) {
    SCOPED_TRACE(before);
    EXPECT_EQ(MimeAppsWithDefaults(before), after);
    EXPECT_EQ(MimeAppsWithDefaults(after), after);
  }
}

TEST(DesktopAssociation, WritesTheEntryAndTheHandlersTheSameWayTwice) {
  TempDir home;
  const std::string list = home.File(".config/mimeapps.list");
  std::filesystem::create_directories(home.File(".config"));
  WriteFile(list, "[Default Applications]\ntext/plain=editor.desktop;\n");
  DesktopAssociation association({home.File(".local/share"), home.File(".config")});
  for (int run = 0; run < 2; ++run) {
    ASSERT_EQ(association.Associate("/opt/lumetra/lumetra"), "");
    EXPECT_EQ(ReadFile(home.File(".local/share/applications/lumetra.desktop")),
              DesktopEntryText("/opt/lumetra/lumetra"));
    EXPECT_EQ(ReadFile(list),
              MimeAppsWithDefaults("[Default Applications]\ntext/plain=editor.desktop;\n"));
  }
}

TEST(DesktopAssociation, FailuresAreReportedAndReplaceNothing) {
  TempDir home;
  const std::string applications = home.File(".local/share/applications");
  const std::string list = home.File(".config/mimeapps.list");
  const XdgDirs dirs = {home.File(".local/share"), home.File(".config")};
  // A list that cannot be read is not replaced: the user's other handlers would be lost.
  std::filesystem::create_directories(list);
  EXPECT_TRUE(DesktopAssociation(dirs).Associate("/l").starts_with(kAssociateError + list));
  std::filesystem::remove(list);

  ::chmod(home.path().c_str(), 0755);
  ::chmod(applications.c_str(), 0555);
  // The superuser writes anywhere: the association then runs as an ordinary user.
  const pid_t child = ::fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    if (::geteuid() == 0 && (::setgid(65534) != 0 || ::setuid(65534) != 0)) ::_exit(3);
    ::_exit(DesktopAssociation(dirs).Associate("/l").starts_with(kAssociateError + applications)
                ? 0
                : 1);
  }
  int status = 0;
  ASSERT_EQ(::waitpid(child, &status, 0), child);
  EXPECT_EQ(WEXITSTATUS(status), 0);
  EXPECT_FALSE(std::filesystem::exists(list));
}

}  // namespace
}  // namespace lumetra
