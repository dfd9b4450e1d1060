#include "settings/file_association.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <map>
#include <string>

#include "test_support.h"

namespace lumetra {
namespace {

using testing::ReadFile;
using testing::TempDir;
using testing::WriteFile;

constexpr char kDefaults[] =
    "[Default Applications]\n"
    "application/x-subrip=lumetra.desktop;\n"
    "text/x-microdvd=lumetra.desktop;\n";

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
            "MimeType=application/x-subrip;text/x-microdvd;\n"
            "Categories=AudioVideo;Video;AudioVideoEditing;\n");
  // Characters the command line or the entry would read otherwise are escaped.
  const std::string entry = DesktopEntryText("/a$b\"c`d\\e%f/lumetra");
  EXPECT_NE(entry.find("Exec=\"/a\\\\$b\\\\\"c\\\\`d\\\\\\\\e%%f/lumetra\" %f\n"), std::string::npos);
  EXPECT_FALSE(FitsDesktopEntry("/a\nb/lumetra"));
  EXPECT_TRUE(FitsDesktopEntry("/opt/l\xC3\xBCmetra"));
}

TEST(MimeApps, ProgramBecomesTheFirstDefaultHandlerAndOtherLinesStay) {
  const std::pair<const char*, const char*> cases[] = {
      {"", kDefaults},
      {"[Added Associations]\nimage/png=viewer.desktop;\n",
       "[Added Associations]\nimage/png=viewer.desktop;\n\n"
       "[Default Applications]\napplication/x-subrip=lumetra.desktop;\ntext/x-microdvd=lumetra.desktop;\n"},
      {"# mine\r\n[Default Applications]\r\ntext/html=web.desktop\r\napplication/x-subrip = player.desktop;lumetra.desktop\r\n"
       "\r\n[Removed Associations]\r\ntext/x-microdvd=player.desktop;\r\n",
       "# mine\r\n[Default Applications]\r\ntext/html=web.desktop\r\n"
       "application/x-subrip=lumetra.desktop;player.desktop;\ntext/x-microdvd=lumetra.desktop;\n"
       "\r\n[Removed Associations]\r\ntext/x-microdvd=player.desktop;\r\n"},
  };
  for (const auto& [before, after] : cases) {
    SCOPED_TRACE(before);
    EXPECT_EQ(MimeAppsWithDefaults(before), after);
    EXPECT_EQ(MimeAppsWithDefaults(after), after);
  }
}

TEST(XdgDirs, FollowTheVariablesElseTheHomeDirectory) {
  const std::map<std::string, std::string> set = {
      {"HOME", "/home/u"}, {"XDG_DATA_HOME", "/d"}, {"XDG_CONFIG_HOME", "relative/c"}};
  const XdgDirs dirs = XdgDirs::FromEnvironment([&](const char* name) -> std::optional<std::string> {
    const auto it = set.find(name);
    return it == set.end() ? std::nullopt : std::optional<std::string>(it->second);
  });
  EXPECT_EQ(dirs.data_home, "/d");
  EXPECT_EQ(dirs.config_home, "/home/u/.config");
}

class DesktopAssociationTest : public ::testing::Test {
 protected:
  XdgDirs Dirs() const { return {home_.File(".local/share"), home_.File(".config")}; }
  TempDir home_;
};

TEST_F(DesktopAssociationTest, WritesTheEntryAndTheHandlersTheSameWayTwice) {
  WriteFile(home_.File("keep"), "");
  std::filesystem::create_directories(home_.File(".config"));
  WriteFile(home_.File(".config/mimeapps.list"), "[Default Applications]\ntext/plain=editor.desktop;\n");
  DesktopAssociation association(Dirs());
  ASSERT_EQ(association.Associate("/opt/lumetra/lumetra"), "");
  const std::string entry = ReadFile(home_.File(".local/share/applications/lumetra.desktop"));
  const std::string list = ReadFile(home_.File(".config/mimeapps.list"));
  EXPECT_EQ(entry, DesktopEntryText("/opt/lumetra/lumetra"));
  EXPECT_EQ(list,
            "[Default Applications]\ntext/plain=editor.desktop;\n"
            "application/x-subrip=lumetra.desktop;\ntext/x-microdvd=lumetra.desktop;\n");
  ASSERT_EQ(association.Associate("/opt/lumetra/lumetra"), "");
  EXPECT_EQ(ReadFile(home_.File(".local/share/applications/lumetra.desktop")), entry);
  EXPECT_EQ(ReadFile(home_.File(".config/mimeapps.list")), list);
}

TEST_F(DesktopAssociationTest, AListThatCannotBeReadIsReportedAndNotReplaced) {
  std::filesystem::create_directories(home_.File(".config/mimeapps.list"));
  const std::string error = DesktopAssociation(Dirs()).Associate("/opt/lumetra/lumetra");
  EXPECT_TRUE(error.starts_with(std::string(kAssociateError) + home_.File(".config/mimeapps.list")))
      << error;
  EXPECT_TRUE(std::filesystem::is_directory(home_.File(".config/mimeapps.list")));
}

TEST_F(DesktopAssociationTest, AReadOnlyDirectoryIsReportedAsAFailure) {
  const std::string applications = home_.File(".local/share/applications");
  std::filesystem::create_directories(applications);
  ::chmod(home_.path().c_str(), 0755);
  ::chmod(applications.c_str(), 0555);
  // The superuser writes anywhere: the association then runs as an ordinary user.
  const pid_t child = ::fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    if (::geteuid() == 0 && (::setgid(65534) != 0 || ::setuid(65534) != 0)) ::_exit(3);
    const std::string error = DesktopAssociation(Dirs()).Associate("/opt/lumetra/lumetra");
    ::_exit(error.starts_with(std::string(kAssociateError) + applications) ? 0 : 1);
  }
  int status = 0;
  ASSERT_EQ(::waitpid(child, &status, 0), child);
  ASSERT_TRUE(WIFEXITED(status));
  EXPECT_EQ(WEXITSTATUS(status), 0);
  EXPECT_FALSE(std::filesystem::exists(applications + "/lumetra.desktop"));
  EXPECT_FALSE(std::filesystem::exists(home_.File(".config/mimeapps.list")));
}

}  // namespace
}  // namespace lumetra
