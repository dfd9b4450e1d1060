#include "session/film_files.h"

#include <gtest/gtest.h>

#include "test_support.h"

namespace lumetra {
namespace {

using testing::TempDir;
using testing::WriteFile;

TEST(FilmFiles, FilmsAreKnownByTheirExtensionInAnyCase) {
  for (const char* film :
       {"/a/b.mkv", "b.MP4", "x.y.avi", "c.webm", "c.Mov", "c.m4v", "c.mpg", "c.ts"}) {
    EXPECT_TRUE(IsFilmFile(film)) << film;
  }
  for (const char* other : {"/a/b.srt", "mkv", "/a.mkv/b", "b.mkv.txt", "b.", ""}) {
    EXPECT_FALSE(IsFilmFile(other)) << other;
  }
}

TEST(FilmFiles, TheFilmBesideASubtitleHasItsBaseNameAndTheFirstExtensionInTheList) {
  TempDir dir;
  WriteFile(dir.File("film.srt"), "1");
  EXPECT_EQ(FilmBeside(dir.File("film.srt")), std::nullopt);
  WriteFile(dir.File("Film.mkv"), "x");                     // another base name
  WriteFile(dir.File("film.en.mkv"), "x");                  // another base name
  WriteFile(dir.File("film.txt"), "x");                     // no film
  std::filesystem::create_directory(dir.File("film.mp4"));  // a folder
  EXPECT_EQ(FilmBeside(dir.File("film.srt")), std::nullopt);
  WriteFile(dir.File("film.TS"), "x");
  EXPECT_EQ(FilmBeside(dir.File("film.srt")), dir.File("film.TS"));
  WriteFile(dir.File("film.avi"), "x");
  EXPECT_EQ(FilmBeside(dir.File("film.srt")), dir.File("film.avi"));
  EXPECT_EQ(FilmBeside(dir.File("missing/film.srt")), std::nullopt);
}

TEST(FilmFiles, TheRememberedFilmComesFirstThenTheOneBesideWhenWanted) {
  TempDir dir;
  WriteFile(dir.File("a.srt"), "1");
  WriteFile(dir.File("a.mkv"), "x");
  WriteFile(dir.File("other.mp4"), "x");
  FileHistory history;
  Configuration settings;
  history.UpdateHistory(dir.File("a.srt"));
  EXPECT_EQ(FilmToOpenWith(dir.File("a.srt"), history, settings), dir.File("a.mkv"));
  RememberFilm(history, dir.File("a.srt"), dir.File("other.mp4"));
  RememberFilm(history, dir.File("not-in-history.srt"), dir.File("a.mkv"));
  EXPECT_EQ(history.Attribute(1, kFilmAttribute), dir.File("other.mp4"));
  EXPECT_EQ(FilmToOpenWith(dir.File("a.srt"), history, settings), dir.File("other.mp4"));
  // A remembered film that is gone: the one beside, unless the user does not want it.
  std::filesystem::remove(dir.File("other.mp4"));
  EXPECT_EQ(FilmToOpenWith(dir.File("a.srt"), history, settings), dir.File("a.mkv"));
  settings.AutoOpenFilm = false;
  EXPECT_EQ(FilmToOpenWith(dir.File("a.srt"), history, settings), std::nullopt);
}

}  // namespace
}  // namespace lumetra
