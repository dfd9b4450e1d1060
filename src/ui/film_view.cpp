#include "ui/film_view.h"

#include <QGuiApplication>
#include <QImage>
#include <QMetaObject>
#include <QOffscreenSurface>
#include <QOpenGLContext>
#include <QOpenGLFunctions>
#include <QOpenGLWidget>
#include <QPainter>
#include <QVBoxLayout>
#include <QWidget>
#include <functional>
#include <memory>

#include "media/mpv_player.h"

namespace lumetra {

namespace {

// Pictures drawn into an image; the image has the view's size in device pixels.
class SoftwareFilmView : public QWidget {
 public:
  SoftwareFilmView(MpvPlayer& player, QWidget* parent) : QWidget(parent), player_(player) {
    setAttribute(Qt::WA_OpaquePaintEvent);
    Attach();
  }

 protected:
  void paintEvent(QPaintEvent*) override {
    QPainter painter(this);
    painter.fillRect(rect(), Qt::black);
    if (!image_.isNull()) painter.drawImage(QPoint(0, 0), image_);
  }
  void resizeEvent(QResizeEvent*) override { Draw(); }
  void showEvent(QShowEvent*) override {
    Attach();
    Draw();
  }

 private:
  void Attach() {
    if (renderer_) return;
    renderer_ = player_.CreateSoftwareRenderer();
    if (!renderer_) return;
    renderer_->SetUpdateFunction([this] {
      QMetaObject::invokeMethod(
          this, [this] { NewFrame(); }, Qt::QueuedConnection);
    });
  }
  void NewFrame() {
    if (renderer_ && renderer_->NewFrameWaits()) Draw();
  }
  void Draw() {
    if (!renderer_) return;
    const qreal ratio = devicePixelRatioF();
    // Hidden, the picture is still taken (libmpv waits for it), at a small size.
    const QSize size = isVisible() ? (QSizeF(this->size()) * ratio).toSize() : QSize(16, 16);
    if (size.isEmpty()) return;
    if (image_.size() != size) {
      image_ = QImage(size, QImage::Format_RGBX8888);
      image_.setDevicePixelRatio(ratio);
    }
    renderer_->Render(image_.width(), image_.height(),
                      static_cast<std::size_t>(image_.bytesPerLine()), image_.bits());
    if (isVisible()) update();
  }

  MpvPlayer& player_;
  std::unique_ptr<MpvSoftwareRenderer> renderer_;
  QImage image_;
};

void* ProcAddress(void*, const char* name) {
  QOpenGLContext* context = QOpenGLContext::currentContext();
  return context != nullptr ? reinterpret_cast<void*>(context->getProcAddress(name)) : nullptr;
}

// Pictures drawn by OpenGL into the widget's framebuffer.
class GlFilmView : public QOpenGLWidget {
 public:
  GlFilmView(MpvPlayer& player, std::function<void()> failed, QWidget* parent)
      : QOpenGLWidget(parent), player_(player), failed_(std::move(failed)) {}
  ~GlFilmView() override { Release(); }

 protected:
  void initializeGL() override {
    renderer_ = player_.CreateGlRenderer(&ProcAddress, nullptr);
    if (!renderer_) {
      // Queued: the view goes away, which it cannot do inside its own initialisation.
      QMetaObject::invokeMethod(
          this, [this] { failed_(); }, Qt::QueuedConnection);
      return;
    }
    renderer_->SetUpdateFunction([this] {
      QMetaObject::invokeMethod(
          this, [this] { NewFrame(); }, Qt::QueuedConnection);
    });
    connect(context(), &QOpenGLContext::aboutToBeDestroyed, this, [this] { Release(); });
  }
  void paintGL() override {
    if (renderer_) {
      renderer_->Render(static_cast<int>(defaultFramebufferObject()), PixelWidth(), PixelHeight());
    } else {
      QOpenGLFunctions* gl = context()->functions();
      gl->glClearColor(0, 0, 0, 1);
      gl->glClear(GL_COLOR_BUFFER_BIT);
    }
  }

 private:
  int PixelWidth() const { return static_cast<int>(width() * devicePixelRatioF()); }
  int PixelHeight() const { return static_cast<int>(height() * devicePixelRatioF()); }
  void NewFrame() {
    if (!renderer_ || !renderer_->NewFrameWaits()) return;
    if (isVisible()) {
      update();
    } else if (context() != nullptr) {
      // Hidden: the picture is taken all the same, so that the film goes on.
      makeCurrent();
      renderer_->Render(static_cast<int>(defaultFramebufferObject()), PixelWidth(), PixelHeight());
      doneCurrent();
    }
  }
  void Release() {
    if (!renderer_) return;
    makeCurrent();
    renderer_.reset();
    doneCurrent();
  }

  MpvPlayer& player_;
  std::function<void()> failed_;
  std::unique_ptr<MpvGlRenderer> renderer_;
};

// Holds the view that draws; swaps OpenGL for software when OpenGL fails.
class FilmPicture : public QWidget {
 public:
  FilmPicture(MpvPlayer& player, QWidget* parent) : QWidget(parent), player_(player) {
    setObjectName("FilmPicture");
    layout_ = new QVBoxLayout(this);
    layout_->setContentsMargins(0, 0, 0, 0);
    if (OpenGlUsable()) {
      view_ = new GlFilmView(
          player_, [this] { UseSoftware(); }, this);
    } else {
      view_ = new SoftwareFilmView(player_, this);
    }
    layout_->addWidget(view_);
  }

 private:
  void UseSoftware() {
    delete view_;
    view_ = new SoftwareFilmView(player_, this);
    layout_->addWidget(view_);
  }

  MpvPlayer& player_;
  QVBoxLayout* layout_;
  QWidget* view_;
};

}  // namespace

bool OpenGlUsable() {
  static const bool usable = [] {
    if (!qEnvironmentVariableIsEmpty("LUMETRA_SOFTWARE_VIDEO")) return false;
    const QString platform = QGuiApplication::platformName();
    if (platform == "offscreen" || platform == "minimal" || platform == "vnc") return false;
    QOpenGLContext context;
    if (!context.create()) return false;
    QOffscreenSurface surface;
    surface.setFormat(context.format());
    surface.create();
    if (!surface.isValid() || !context.makeCurrent(&surface)) return false;
    context.doneCurrent();
    return true;
  }();
  return usable;
}

QWidget* CreateFilmView(MpvPlayer& player, QWidget* parent) {
  return new FilmPicture(player, parent);
}

}  // namespace lumetra
