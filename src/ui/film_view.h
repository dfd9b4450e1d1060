// The film's picture, drawn by libmpv: through OpenGL where the platform has it, else in
// software into an image (Qt's offscreen platform in tests has no OpenGL). The picture
// is drawn whenever libmpv has a new one, also while it is hidden: libmpv waits for each
// picture to be drawn, so a picture nobody draws would hold the film up.
#pragma once

class QWidget;

namespace lumetra {

class MpvPlayer;

// Whether pictures go through OpenGL here: false on platforms without it, when a context
// cannot be made, or when the environment variable LUMETRA_SOFTWARE_VIDEO is set.
bool OpenGlUsable();

// The picture of the player's film (named "FilmPicture"). It falls back to software
// drawing when OpenGL fails to start.
QWidget* CreateFilmView(MpvPlayer& player, QWidget* parent);

}  // namespace lumetra
