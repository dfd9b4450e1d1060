#include "ui/main_window.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QFocusEvent>
#include <QFile>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QSplitter>
#include <QTabBar>
#include <QTabWidget>
#include <QTextBlock>
#include <QTimer>
#include <QVBoxLayout>
#include <algorithm>
#include <filesystem>
#include <utility>

#include "editing/editor_panel.h"
#include "editing/frame_row.h"
#include "foundation/textkit.h"
#include "session/autosave.h"
#include "session/session.h"
#include "session/window_caption.h"
#include "session/window_geometry.h"
#include "settings/configuration.h"
#include "settings/file_association.h"
#include "ui/autosave_keeper.h"
#include "ui/checks_panel.h"
#include "ui/code_page_menu.h"
#include "ui/command_button_press.h"
#include "ui/command_column.h"
#include "foundation/textkit.h"
#include "session/film_files.h"
#include "ui/editor_group.h"
#include "ui/film_panel.h"
#include "ui/film_player.h"
#include "ui/file_drop.h"
#include "ui/file_shortcuts.h"
#include "ui/find_replace_dialog.h"
#include "ui/frame_list_delegate.h"
#include "ui/frame_list_model.h"
#include "ui/frame_rate_dialog.h"
#include "ui/frame_keys.h"
#include "ui/frame_list_view.h"
#include "ui/hints.h"
#include "ui/info_dialog.h"
#include "ui/look.h"
#include "ui/manipulation_group.h"
#include "ui/mini_mode_tab.h"
#include "ui/qt_prompts.h"
#include "ui/selection_group.h"
#include "ui/settings_dialog.h"
#include "ui/spell_check_dialog.h"
#include "ui/spell_language_box.h"
#include "ui/text_tools_bar.h"
#include "ui/spelling_service.h"
#include "ui/sub_frame_rate_dialog.h"
#include "ui/text_codec.h"
#include "ui/text_group.h"
#include "ui/time_boxes.h"
#include "ui/timing_group.h"
#include "ui/timing_tab.h"
#include "ui/tool_button.h"
#include "ui/undo_controls.h"
#include "ui/waveform_panel.h"
#include "ui/waveform_strip.h"
#include "ui/window_commands.h"
#include "ui/window_settings.h"

namespace lumetra {

namespace {

// Width of the command groups on the right of the "Text" tab.
constexpr int kCommandColumnWidth = 201;
// The index of the "Text" tab.
constexpr int kTextPage = 0;
// Height of the editor group under the frame list.
constexpr int kEditorGroupHeight = 178;
// Room the frame list keeps beside or under the film panel.
constexpr int kListKeepsAtLeast = 120;

// Tabs of a fixed width.
class PageTabBar : public QTabBar {
 public:
  using QTabBar::QTabBar;

 protected:
  QSize tabSizeHint(int index) const override {
    QSize size = QTabBar::tabSizeHint(index);
    size.setWidth(96);
    return size;
  }
};

class PageControl : public QTabWidget {
 public:
  explicit PageControl(QWidget* parent) : QTabWidget(parent) {
    auto* bar = new PageTabBar(this);
    bar->setAttribute(Qt::WA_Hover, true);  // hot tracking
    setTabBar(bar);
  }
};

QLabel* MakeLabel(const QString& text, const char* name, QWidget* parent) {
  auto* label = new QLabel(text, parent);
  label->setObjectName(name);
  return label;
}

QGroupBox* MakeGroup(const char* caption, const char* name, QWidget* parent) {
  auto* group = new QGroupBox(QString::fromLatin1(caption), parent);
  group->setObjectName(name);
  return group;
}

ToolButton* MakeToolButton(Glyph glyph, const char* name, const std::string& hint,
                           QWidget* parent) {
  auto* button = new ToolButton(parent);
  button->setObjectName(name);
  button->setAutoRaise(true);
  button->setIcon(GlyphIcon(glyph));
  button->setIconSize(QSize(20, 20));
  button->setFixedSize(28, 28);
  button->setFocusPolicy(Qt::NoFocus);
  SetHint(button, hint);
  return button;
}

QString FromPath(const std::string& path) {
  return QFile::decodeName(QByteArray::fromStdString(path));
}

}  // namespace

MainWindow::MainWindow(Prompts& prompts, std::optional<QString> startup_file,
                       std::string config_path, QWidget* parent, std::unique_ptr<Player> player)
    : QMainWindow(parent),
      session_(std::make_unique<Session>(prompts)),
      startup_file_(std::move(startup_file)),
      config_path_(std::move(config_path)) {
  setObjectName("T_Form1");
  setMinimumSize(kMinimumWindowWidth, kMinimumWindowHeight);

  model_ = new FrameListModel(session_->document(), this);
  delegate_ = new FrameListDelegate(session_->document(), this);
  film_player_ = player ? new FilmPlayer(std::move(player), this) : new FilmPlayer(this);
  // The frame list marks the frames that break a quality check.
  model_->SetCheckLimits(&session_->settings().Checks);
  delegate_->SetCheckLimits(&session_->settings().Checks);
  spelling_ = new SpellingService(DictionaryDirs(ProcessEnvironment), this);
  connect(spelling_, &SpellingService::changed, this, [this] {
    // The last choice is kept for the next document and the next run.
    session_->settings().SpellLanguage = spelling_->language();
  });
  connect(spelling_, &SpellingService::failed, this, [this](const QString& problem) {
    session_->prompts().ShowMessage(problem.toStdString());
  });

  auto* central = new QWidget(this);
  auto* layout = new QVBoxLayout(central);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);
  auto* top_row = new QHBoxLayout;
  top_row->setSpacing(1);
  BuildTopPanels(central, top_row);
  layout->addLayout(top_row);

  pages_ = new PageControl(central);
  pages_->setObjectName("PageControl1");
  pages_->addTab(BuildTextTab(), "Text");
  timing_ = new TimingTab(*session_, model_, delegate_);
  timing_->SetFilm(*film_player_);
  pages_->addTab(timing_, "Timing");
  top_row->addWidget(timing_->recorderPanel());
  top_row->addWidget(timing_->filePanel(), 1);
  mini_ = new MiniModeTab(*session_, model_, [this] { return editor_->autoFocus(); });
  pages_->addTab(mini_, "MiniMode");
  mini_->SetWindowParts(this, pages_,
                        {toolbar_panels_[0], toolbar_panels_[1], toolbar_panels_[2],
                         timing_->recorderPanel(), timing_->filePanel()});
  connect(mini_, &MiniModeTab::saveAsRequested, this, &MainWindow::SaveAsClicked);
  connect(mini_, &MiniModeTab::quickSaveRequested, this, &MainWindow::QuickSave);
  layout->addWidget(pages_, 1);
  setCentralWidget(central);

  connect(model_, &FrameListModel::headerChanged, this, &MainWindow::RefreshFileBoxes);
  // Every change of the document may change the caption; Modified is settled only when
  // the command that changed it has ended, so the caption is looked at once more then.
  connect(model_, &QAbstractItemModel::modelReset, this, &MainWindow::DocumentTouched);
  connect(model_, &QAbstractItemModel::rowsInserted, this, &MainWindow::DocumentTouched);
  connect(model_, &QAbstractItemModel::rowsRemoved, this, &MainWindow::DocumentTouched);
  connect(model_, &QAbstractItemModel::dataChanged, this, &MainWindow::DocumentTouched);
  connect(model_, &FrameListModel::headerChanged, this, &MainWindow::DocumentTouched);
  connect(model_, &QAbstractItemModel::modelReset, this, &MainWindow::DocumentWasReset);
  connect(model_, &QAbstractItemModel::rowsInserted, this, &MainWindow::UpdateSelectedCount);
  connect(model_, &QAbstractItemModel::rowsRemoved, this, &MainWindow::UpdateSelectedCount);
  // Queued: the question about unsaved changes comes after the drop has finished.
  connect(new FileDropFilter(this), &FileDropFilter::fileDropped, this, &MainWindow::FileDropped,
          Qt::QueuedConnection);

  // The film follows the subtitles that are read and written, and the tabs.
  session_->SetFileListener([this](const std::string& path, bool read) {
    if (read) {
      film_panel_->SubtitleRead(path);
    } else {
      film_panel_->SubtitleWritten(path);
    }
  });
  film_panel_->AddShortcuts(this);
  connect(film_panel_, &FilmPanel::filmShownChanged, this, &MainWindow::PlaceFilmPanel);
  connect(film_panel_, &FilmPanel::placeChangeRequested, this, &MainWindow::ToggleFilmPlace);
  ConnectWaveform();
  AddFrameKeys(this, list_, session_->prompts());
  ArrangeTabOrder();

  FormCreate();
  RefreshCaption();
}

MainWindow::~MainWindow() {
  // The autosave keeper works on the session: it goes before it.
  delete keeper_;
  keeper_ = nullptr;
  // The film panel and the player, while the session they work for still exists.
  session_->SetFileListener(nullptr);
  delete film_panel_;
  film_panel_ = nullptr;
  delete film_player_;
  film_player_ = nullptr;
  // The list's model observes the session's document: it goes first.
  delete list_;
  list_ = nullptr;
  delete model_;
  model_ = nullptr;
}

Document& MainWindow::document() { return session_->document(); }

void MainWindow::FormCreate() {
  // The session was created with an empty document; what is left is the geometry.
  QScreen* screen = QGuiApplication::primaryScreen();
  const QRect full = screen != nullptr ? screen->geometry() : QRect(0, 0, 1024, 768);
  const QRect available = screen != nullptr ? screen->availableGeometry() : full;
  const int taskbar = full.height() > available.height() ? full.height() - available.height() : 0;
  const WindowGeometry g = FirstWindowGeometry(full.width(), full.height(), taskbar);
  // Sizes are the desktop's device-independent pixels; the resolution is the screen's own
  // pixels, so a scaled desktop (QT_SCALE_FACTOR=2) on a large screen is not "too low".
  const qreal scale = screen != nullptr ? screen->devicePixelRatio() : 1.0;
  if (ResolutionTooLow(qRound(full.width() * scale))) {
    session_->prompts().ShowMessage(kResolutionTooLow);
  }
  // On a small desktop the window may be made smaller than it usually can.
  setMinimumSize(std::min(kMinimumWindowWidth, available.width()),
                 std::min(kMinimumWindowHeight, available.height()));
  resize(g.width, g.height);
  move(full.left() + g.left, full.top() + g.top);
  if (!config_path_.empty() &&
      LoadConfig(config_path_, session_->settings(), session_->history())) {
    ApplySettingsToWindow(*this, *session_);
  }
  const std::string language = session_->settings().SpellLanguage;  // changes follow the service
  spelling_->SetIgnoreCapitals(session_->settings().SpellIgnoreCapitals);
  spelling_->SetLanguage(language);

  mini_->SaveBounds();

  pages_->setCurrentIndex(kTextPage);
  pages_->setTabVisible(pages_->indexOf(mini_), false);
  // The keyboard starts in the frame list.
  GiveKeyboardTo(list_);
  connect(pages_, &QTabWidget::currentChanged, this, &MainWindow::PageControl1Change);
}

void MainWindow::CreateDialogs(Prompts& prompts) {
  if (sub_dialog_ == nullptr) {
    sub_dialog_ = new SubFrameRateDialog(prompts, this);
    sub_dialog_->hide();
  }
  if (info_dialog_ == nullptr) {
    info_dialog_ = new InfoDialog(this);
    info_dialog_->hide();
    // "OK" changes the header as a command of its own, which can be undone; a changed
    // header is unsaved work like any other change.
    info_dialog_->SetStore([this](const std::function<void(Document&)>& store) {
      commands_->Run(kInformationStep, [&store](Document& doc, const Selection& s) {
        store(doc);
        doc.Modified = kUnsaved;
        return CommandResult{s, false, {}};
      });
    });
  }
  if (settings_dialog_ == nullptr) {
    auto association =
        std::make_unique<DesktopAssociation>(XdgDirs::FromEnvironment(ProcessEnvironment));
    settings_dialog_ = new SettingsDialog(prompts, std::move(association),
                                          QCoreApplication::applicationFilePath(), this);
    settings_dialog_->hide();
  }
  if (frame_rate_dialog_ == nullptr) {
    frame_rate_dialog_ = new FrameRateDialog(this);
    frame_rate_dialog_->hide();
    timing_group_->SetCalculatorDialog(frame_rate_dialog_);
  }
}

void MainWindow::BuildTopPanels(QWidget* parent, QHBoxLayout* row) {
  auto make_panel = [&](const char* name) {
    auto* panel = new QFrame(parent);
    panel->setObjectName(name);
    panel->setFrameShape(QFrame::StyledPanel);
    auto* l = new QHBoxLayout(panel);
    l->setContentsMargins(3, 2, 3, 2);
    l->setSpacing(2);
    return std::pair<QFrame*, QHBoxLayout*>(panel, l);
  };

  auto [panel2, l2] = make_panel("Panel2");
  auto* open = MakeToolButton(Glyph::kOpen, "SpeedButton1", kOpenHint, panel2);
  auto* save = MakeToolButton(Glyph::kSave, "SpeedButton3", kSaveHint, panel2);
  auto* create = MakeToolButton(Glyph::kNew, "SpeedButton2", kNewHint, panel2);
  auto* mini = MakeToolButton(Glyph::kMiniMode, "SpeedButton4", "Switch to Mini-mode", panel2);
  connect(mini, &QToolButton::clicked, this, &MainWindow::EnterMiniMode);
  auto* film = MakeToolButton(Glyph::kFilm, "FilmButton", "Open a film", panel2);
  connect(film, &QToolButton::clicked, this, [this] { film_panel_->ChooseFilm(); });
  for (QWidget* w : {static_cast<QWidget*>(open), static_cast<QWidget*>(save),
                     static_cast<QWidget*>(create), static_cast<QWidget*>(mini),
                     static_cast<QWidget*>(film)}) {
    l2->addWidget(w);
  }
  connect(open, &QToolButton::clicked, this, &MainWindow::OpenClicked);
  connect(open, &ToolButton::rightPressed, this, &MainWindow::ShowHistoryMenu);
  connect(save, &QToolButton::clicked, this, &MainWindow::SaveAsClicked);
  connect(save, &ToolButton::rightPressed, this, &MainWindow::QuickSave);
  connect(create, &QToolButton::clicked, this, &MainWindow::NewClicked);
  AddFileShortcuts(this, {[this] { OpenClicked(); }, [this] { SaveClicked(); },
                          [this] { SaveAsClicked(); }, [this] { NewClicked(); }});
  AddFindShortcuts(this, {[this] {
                            search_box_->setFocus(Qt::ShortcutFocusReason);
                            search_box_->selectAll();
                          },
                          [this] { OpenFindReplace(); }});
  panel2->setFixedWidth(panel2->sizeHint().width());

  auto [panel3, l3] = make_panel("Panel3");
  file_box_ = new QLineEdit(panel3);
  file_box_->setObjectName("Edit1");
  file_box_->setReadOnly(true);
  file_box_->setFixedWidth(170);
  SetHint(file_box_, "Latest Filename\rrightclick: code page of the texts");
  l3->addWidget(file_box_);
  code_page_box_ = new CodePageBox(session_->document(), panel3);
  l3->addWidget(code_page_box_);
  auto* code_pages = new CodePageMenu(file_box_, session_->document());
  auto choose_page = [this](CodePage page) {
    FlushEditor();
    session_->ChooseCodePage(page);
    ReloadPanel(false);
  };
  connect(code_pages, &CodePageMenu::codePageChosen, this, choose_page);
  connect(code_page_box_, &CodePageBox::codePageChosen, this, choose_page);
  auto* backward =
      MakeToolButton(Glyph::kBackward, "SpeedButton6",
                     HintWithKey("Move frames backward by 1 sec", kEarlierSecondKey), panel3);
  auto* forward = MakeToolButton(Glyph::kForward, "SpeedButton5",
                                 HintWithKey("Move frames forward by 1 sec", kLaterSecondKey), panel3);
  auto* merge =
      MakeToolButton(Glyph::kMerge, "SpeedButton10", HintWithKey("Merge frames", kMergeKey), panel3);
  auto* settings = MakeToolButton(Glyph::kSettings, "SpeedButton12", "Settings", panel3);
  connect(settings, &QToolButton::clicked, this, &MainWindow::SettingsClicked);
  auto* about = MakeToolButton(Glyph::kAbout, "SpeedButton7", "About the program...", panel3);
  for (QWidget* w : {static_cast<QWidget*>(backward), static_cast<QWidget*>(forward),
                     static_cast<QWidget*>(merge), static_cast<QWidget*>(settings),
                     static_cast<QWidget*>(about)}) {
    l3->addWidget(w);
  }
  connect(merge, &QToolButton::clicked, this, [this] { manipulation_->Merge(); });
  connect(backward, &QToolButton::clicked, this,
          [this] { RunCommandButton(*commands_, CommandButton::kEarlierSecond); });
  connect(forward, &QToolButton::clicked, this,
          [this] { RunCommandButton(*commands_, CommandButton::kLaterSecond); });
  connect(about, &QToolButton::clicked, this, &MainWindow::AboutClicked);
  panel3->setFixedWidth(panel3->sizeHint().width());

  auto [panel4, l4] = make_panel("Panel4");
  auto* info = MakeToolButton(Glyph::kInfo, "SpeedButton9", "Edit subtitle Info-header (srt2)", panel4);
  connect(info, &QToolButton::clicked, this, &MainWindow::InfoClicked);
  summary_box_ = new QLineEdit(panel4);
  summary_box_->setObjectName("Edit3");
  summary_box_->setReadOnly(true);
  SetHint(summary_box_, "Subtitle Information");
  l4->addWidget(info);
  l4->addWidget(summary_box_, 1);

  row->addWidget(panel2);
  row->addWidget(panel3);
  row->addWidget(panel4, 1);
  toolbar_panels_ = {panel2, panel3, panel4};

  history_menu_ = new QMenu(this);
  history_menu_->setObjectName("OpenPopup");
}

QWidget* MainWindow::BuildTextTab() {
  auto* sheet = new QWidget;
  sheet->setObjectName("TabSheet1");
  auto* row = new QHBoxLayout(sheet);
  row->setContentsMargins(2, 2, 2, 2);
  row->setSpacing(5);
  auto* left = new QVBoxLayout;
  left->setSpacing(0);
  text_column_ = left;
  // The film panel and the frame list share a splitter; the panel hides while no film is
  // open.
  film_splitter_ = new QSplitter(Qt::Vertical);
  film_splitter_->setObjectName("FilmSplitter");
  film_splitter_->setChildrenCollapsible(false);
  QWidget* frame_list = BuildFrameListGroup();
  film_panel_ = new FilmPanel(*session_, *commands_, model_, *film_player_);
  film_splitter_->addWidget(film_panel_);
  film_splitter_->addWidget(frame_list);
  film_splitter_->setStretchFactor(0, 1);
  film_splitter_->setStretchFactor(1, 1);
  // The size the user drags the panel to is kept (in the configuration file, too).
  connect(film_splitter_, &QSplitter::splitterMoved, this,
          [this] { session_->settings().FilmPanelSize = film_splitter_->sizes().value(0); });
  left->addWidget(film_splitter_, 1);
  waveform_ = new WaveformPanel(*commands_, model_);
  waveform_->setMinimumHeight(90);
  film_panel_->AddStrip(waveform_);
  // Selecting frames in the list brings them into the waveform's view.
  connect(list_->selectionModel(), &QItemSelectionModel::currentChanged, waveform_,
          [this](const QModelIndex& current) {
            if (current.isValid()) waveform_->strip()->ShowFrame(current.row() + 1);
            waveform_->strip()->Refresh();
          });
  connect(list_->selectionModel(), &QItemSelectionModel::selectionChanged, waveform_->strip(),
          &WaveformStrip::Refresh);
  editor_ = new EditorGroup(*commands_, *spelling_);
  editor_->setFixedHeight(kEditorGroupHeight);
  left->addWidget(editor_);
  row->addLayout(left, 1);
  row->addWidget(BuildCommandColumn());
  return sheet;
}

QWidget* MainWindow::BuildFrameListGroup() {
  QGroupBox* group = MakeGroup("Frame list", "GroupBox1", nullptr);
  auto* layout = new QVBoxLayout(group);
  layout->setContentsMargins(6, 2, 6, 6);
  layout->setSpacing(1);

  auto* note = MakeLabel(
      " Hold down Ctrl to select multiple frames, use Shift to select blocks ", "Label16", group);
  QFont note_font = note->font();
  note_font.setItalic(true);
  note->setFont(note_font);
  // Beside the note: Find and replace, the checks, the spelling language.
  auto* tools = new TextToolsBar(*spelling_, group);
  checks_button_ = tools->checksButton();
  connect(tools, &TextToolsBar::findReplaceRequested, this, &MainWindow::OpenFindReplace);
  connect(tools, &TextToolsBar::spellCheckRequested, this, &MainWindow::OpenSpellCheck);
  connect(tools, &TextToolsBar::checksToggled, this, &MainWindow::ShowChecks);
  auto* note_row = new QHBoxLayout;
  note_row->addWidget(tools);
  note_row->addStretch();
  note_row->addWidget(note, 0, Qt::AlignRight | Qt::AlignBottom);
  layout->addLayout(note_row);

  QHBoxLayout* heads = MakeFrameListHeads(group, {"Label1", "Label2", "Label4", "Label3"});
  layout->addLayout(heads);

  list_ = MakeFrameListView("ListBox1", model_, delegate_, group);
  list_->setSelectionMode(QAbstractItemView::ExtendedSelection);
  list_->installEventFilter(this);
  auto* splitter = new QSplitter(Qt::Vertical, group);
  splitter->setObjectName("FrameListSplitter");
  splitter->setChildrenCollapsible(false);
  splitter->addWidget(list_);
  layout->addWidget(splitter, 1);

  // A command that puts the selection back reloads what it needs itself.
  auto clicked = [this] {
    if (!commands_->applying()) ListBox1Click();
  };
  connect(list_->selectionModel(), &QItemSelectionModel::selectionChanged, this, clicked);
  connect(list_->selectionModel(), &QItemSelectionModel::currentChanged, this, clicked);
  // A double click (and Enter, see eventFilter): the film goes to the frame's start.
  connect(list_, &QListView::doubleClicked, this, [this](const QModelIndex& index) {
    film_panel_->SeekToFrame(index.row() + 1);
    editor_->memo()->setFocus();
  });

  commands_ = new WindowCommands(*session_, list_, this);
  connect(commands_, &WindowCommands::aboutToRun, this, &MainWindow::FlushEditor);
  connect(commands_, &WindowCommands::panelReloadRequested, this, &MainWindow::ReloadPanel);
  connect(commands_, &WindowCommands::countRefreshRequested, this, [this](bool changed) {
    if (changed) ShowFocusedTimes();
    UpdateSelectedCount();
  });
  undo_controls_ = new UndoControls(*commands_, this, list_);
  checks_ = new ChecksPanel(*commands_, *spelling_, session_->settings().Checks, splitter);
  splitter->addWidget(checks_);
  splitter->setStretchFactor(0, 3);
  splitter->setStretchFactor(1, 1);
  checks_->hide();
  return group;
}

QWidget* MainWindow::BuildCommandColumn() {
  auto* column = new QWidget;
  auto* layout = new QVBoxLayout(column);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(2);

  layout->addWidget(new SelectionGroup(*commands_, column));

  auto* counter = new QFrame(column);
  counter->setObjectName("Panel1");
  counter->setFrameShape(QFrame::StyledPanel);
  auto* counter_layout = new QHBoxLayout(counter);
  counter_layout->setContentsMargins(4, 2, 4, 2);
  counter_layout->setSpacing(0);
  auto* caption = MakeLabel(QString::fromLatin1(kSelectedFramesCaption) + " ", "Label5", counter);
  count_label_ = MakeLabel("0", "Label6", counter);
  QFont bold = count_label_->font();
  bold.setBold(true);
  count_label_->setFont(bold);
  total_label_ = MakeLabel(QString::fromStdString(TotalCountText(0)), "Label7", counter);
  counter_layout->addWidget(caption);
  counter_layout->addWidget(count_label_);
  counter_layout->addWidget(total_label_);
  counter_layout->addStretch();
  layout->addWidget(counter);

  manipulation_ = new ManipulationGroup(*commands_, column);
  layout->addWidget(manipulation_);
  timing_group_ = new TimingGroup(*commands_, column);
  layout->addWidget(timing_group_);
  auto* text = new TextGroup(*commands_, list_, column);
  text_group_ = text;
  search_box_ = text->searchBox();
  layout->addWidget(text, 1);
  command_column_ = new CommandColumn(column, kCommandColumnWidth);
  return command_column_;
}

void MainWindow::ArrangeTabOrder() {
  // A click on a button of the "Text" tab leaves the keyboard where it was (in the frame
  // list); Tab still reaches every button.
  for (QWidget* part : {static_cast<QWidget*>(editor_), command_column_}) {
    for (QAbstractButton* button : part->findChildren<QAbstractButton*>()) {
      if (button->focusPolicy() != Qt::NoFocus) button->setFocusPolicy(Qt::TabFocus);
    }
  }
  // Tab leaves the editor (a frame's text holds no tab characters).
  editor_->memo()->setTabChangesFocus(true);
  // The scrolling column itself is no stop, nor are the read-only boxes at the top, which
  // take the keyboard from a click only.
  command_column_->setFocusPolicy(Qt::NoFocus);
  file_box_->setFocusPolicy(Qt::ClickFocus);
  summary_box_->setFocusPolicy(Qt::ClickFocus);
  // Tab goes from the frame list through the waveform and the editor and down the command
  // groups, then to the code page and the tabs, and back to the list.
  std::vector<QWidget*> order = {list_};
  for (QWidget* part : {static_cast<QWidget*>(waveform_), static_cast<QWidget*>(editor_),
                        command_column_}) {
    for (QWidget* w : part->findChildren<QWidget*>()) {
      if ((w->focusPolicy() & Qt::TabFocus) != 0 && w->focusProxy() == nullptr) order.push_back(w);
    }
  }
  order.push_back(code_page_box_);
  order.push_back(pages_->tabBar());
  for (std::size_t i = 0; i + 1 < order.size(); ++i) setTabOrder(order[i], order[i + 1]);
}

// ---------------------------------------------------------------------------------------
// Start-up and closing

void MainWindow::showEvent(QShowEvent* event) {
  QMainWindow::showEvent(event);
  if (!activated_) {
    // The window with its frame lies on the screen.
    FitWindowIntoScreen(*this);
    QTimer::singleShot(0, this, [this] {
      if (!activated_) FormActivate();
    });
  }
}

void MainWindow::FormActivate() {
  if (activated_) return;
  activated_ = true;
  // Work that an editor left unsaved comes first; recovered, it takes the place of the
  // start-up file.
  if (keeper_ != nullptr && keeper_->OfferRecovery()) return;
  // `lumetra FILM`: a film alone opens as a film.
  if (startup_file_.has_value() && !startup_film_.has_value() &&
      IsFilmFile(QFile::encodeName(*startup_file_).toStdString())) {
    startup_film_ = std::exchange(startup_file_, std::nullopt);
  }
  if (startup_file_.has_value()) {
    session_->OpenStartupFile(QFile::encodeName(*startup_file_).toStdString());
  } else if (const std::optional<std::string> latest = AutoLoadFile(session_->settings())) {
    session_->OpenStartupFile(*latest);
  }
  // The film named on the command line takes the place of the subtitle's own.
  if (startup_film_.has_value()) {
    const std::string film = FullPathOf(QFile::encodeName(*startup_film_).toStdString());
    if (std::filesystem::is_regular_file(film)) {
      film_panel_->OpenFilm(film);
    } else {
      session_->prompts().ShowMessage(kFileNotFound +
                                      QFile::encodeName(*startup_film_).toStdString());
    }
  }
}

void MainWindow::closeEvent(QCloseEvent* event) {
  FlushEditor();
  if (session_->CloseQuery()) {
    event->accept();
    if (keeper_ != nullptr) keeper_->Close();
    if (!config_path_.empty()) {
      TakeSettingsFromWindow(*this, *session_);
      // The window comes back as it was before mini mode, not as the strip.
      if (mini_->active()) session_->settings().Window = mini_->model().MiniModeSavedBounds;
      const FileStatus status =
          SaveConfig(config_path_, session_->settings(), session_->history());
      if (!status.ok()) session_->prompts().ShowMessage(ConfigWriteErrorMessage(config_path_, status));
    }
  } else {
    event->ignore();
  }
}

// ---------------------------------------------------------------------------------------
// The frame list and the editor

int MainWindow::SelectedCount() const {
  return static_cast<int>(list_->selectionModel()->selectedRows().size());
}

void MainWindow::SetControlsEnabled(const std::vector<const char*>& names, bool enabled) {
  for (const char* name : names) {
    QWidget* w = findChild<QWidget*>(QString::fromLatin1(name));
    if (w == nullptr) continue;
    // A button that had the keyboard gives it back to the frame list, not to the next
    // control (which would be the Offset box, its text selected for overwriting).
    if (!enabled && w->hasFocus() && list_->isVisible()) GiveKeyboardTo(list_);
    w->setEnabled(enabled);
  }
}

void MainWindow::ApplyCommandStates(int selected) {
  const SelectionCommandStates s = CommandStatesFor(selected);
  SetControlsEnabled(InsertControls(), s.insert);
  SetControlsEnabled(NeedsSelectionControls(), s.needs_selection);
  SetControlsEnabled(MergeControls(), s.merge);
  editor_->SetApplyVisible(s.apply_to_selected);
}

void MainWindow::ShowFocusedTimes() {
  const Document& doc = document();
  const int cur = commands_->FocusedFrame();
  if (cur >= 1 && cur <= doc.FrameCount) {
    editor_->timeBoxes()->ShowTimes(doc.FrameStart[static_cast<std::size_t>(cur)],
                                    doc.FrameEnd[static_cast<std::size_t>(cur)]);
  } else {
    editor_->timeBoxes()->ShowNoFrame();
  }
}

void MainWindow::ListBox1Click() { ReloadPanel(true); }

void MainWindow::ReloadPanel(bool auto_focus) {
  Document& doc = document();
  editor_->FillEditor({});
  doc.CurFrame = commands_->FocusedFrame();
  ShowFocusedTimes();
  const int selected = SelectedCount();
  if (doc.CurFrame > 0 && selected == 1) {
    editor_->FillEditor(EditorLinesOf(doc.FrameText[static_cast<std::size_t>(doc.CurFrame)]));
    if (auto_focus && editor_->autoFocus()) editor_->memo()->setFocus();
    editor_->memo()->moveCursor(QTextCursor::Start);
  }
  // Also without a focused row (Select All straight after opening a file) the commands go
  // by the selection.
  ApplyCommandStates(selected);
  if (selected > 1) editor_->FillEditor({kMultipleFramesMarker});
  UpdateSelectedCount();
}

void MainWindow::UpdateSelectedCount() {
  count_label_->setText(QString::fromStdString(SelectedCountText(SelectedCount())));
  total_label_->setText(QString::fromStdString(TotalCountText(model_->rowCount())));
}

void MainWindow::DocumentWasReset() {
  // An empty or newly read document: no selection, nothing in the editor, only the
  // commands that need no selection enabled, the list at its first frame.
  editor_->FillEditor({});
  editor_->timeBoxes()->ShowNoFrame();
  ApplyCommandStates(0);
  document().CurFrame = 0;
  list_->scrollToTop();
  UpdateSelectedCount();
  RefreshFileBoxes();
  // A file just opened is worked on from the frame list, also by keyboard alone.
  // (A window not yet active gives it to the list when it becomes active.)
  if (pages_->currentIndex() == kTextPage) GiveKeyboardTo(list_);
}

void MainWindow::RefreshFileBoxes() {
  const Document& doc = document();
  file_box_->setText(FromPath(doc.FileBoxText));
  file_box_->setCursorPosition(0);
  summary_box_->setText(DecodeText(doc.ShowInfoSummary(), doc.Encoding));
  summary_box_->setCursorPosition(0);
  code_page_box_->Refresh();
}

void MainWindow::RefreshCaption() {
  caption_scheduled_ = false;
  const Document& doc = document();
  setWindowTitle(FromPath(WindowCaption(doc)));
  setWindowModified(ShowsUnsavedWork(doc));
}

void MainWindow::DocumentTouched() {
  RefreshCaption();
  if (keeper_ != nullptr) keeper_->DocumentChanged();
  if (caption_scheduled_) return;
  caption_scheduled_ = true;
  QTimer::singleShot(0, this, [this] {
    if (!caption_scheduled_) return;
    RefreshCaption();
    // A document without unsaved work (saved, new, undone) has no autosave.
    if (keeper_ != nullptr) keeper_->Sync();
  });
}

void MainWindow::EnableAutosave(const std::string& state_dir) {
  if (state_dir.empty() || keeper_ != nullptr) return;
  state_dir_ = state_dir;
  keeper_ = new AutosaveKeeper(*session_, WithBackslash(state_dir) + kAutosaveDirName,
                               [this] { FlushEditor(); }, this);
  ApplySafetySettings();
}

void MainWindow::ApplySafetySettings() {
  if (keeper_ == nullptr) return;
  const Configuration& settings = session_->settings();
  keeper_->SetInterval(settings.AutosaveSeconds);
  session_->SetBackupDirectory(settings.Backups ? WithBackslash(state_dir_) + kBackupDirName
                                                : std::string());
}

void MainWindow::FlushEditor() {
  editor_->FlushEditor();
  mini_->Flush();
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event) {
  if (watched == list_ && event->type() == QEvent::KeyPress) {
    const int key = static_cast<QKeyEvent*>(event)->key();
    if (key == Qt::Key_F3) {
      search_box_->setFocus();
      return true;
    }
    if (key == Qt::Key_Return || key == Qt::Key_Enter) {
      film_panel_->SeekToFrame(commands_->FocusedFrame());
    }
  }
  return QMainWindow::eventFilter(watched, event);
}

// ---------------------------------------------------------------------------------------
// The tabs and mini mode

void MainWindow::OpenFindReplace() {
  if (find_dialog_ == nullptr) find_dialog_ = new FindReplaceDialog(*commands_, this);
  const QString selected = editor_->memo()->textCursor().selectedText();
  // A selection within one line is what to find; more than a line is not.
  find_dialog_->Open(selected.contains(QChar::ParagraphSeparator) ? QString() : selected);
}

void MainWindow::OpenSpellCheck() {
  FlushEditor();
  if (!spelling_->installed()) {
    session_->prompts().ShowMessage(kNoDictionaries);
    return;
  }
  if (spell_dialog_ == nullptr) spell_dialog_ = new SpellCheckDialog(*commands_, *spelling_, this);
  spell_dialog_->Open();
}

void MainWindow::ShowChecks(bool shown) {
  if (checks_button_->isChecked() != shown) checks_button_->setChecked(shown);
  const bool first = shown && !checks_->isVisible() && !checks_shown_before_;
  checks_->setVisible(shown);
  if (first) {
    // The first time, the panel takes two fifths of the frame list's room.
    checks_shown_before_ = true;
    auto* splitter = static_cast<QSplitter*>(checks_->parentWidget());
    const int room = splitter->height();
    splitter->setSizes({room - room * 2 / 5, room * 2 / 5});
  }
}

void MainWindow::EnterMiniMode() {
  FlushEditor();
  mini_->Enter(commands_->FocusedFrame());
}

void MainWindow::PageControl1Change(int index) {
  // Mini mode shows its own tab; that is no switch of the user's.
  if (index == pages_->indexOf(mini_)) return;
  const bool timing = index == pages_->indexOf(timing_);
  // The list has the keyboard (unless "Auto focus" then gives it to the editor), before
  // the panel that may hold it is hidden.
  (timing ? timing_->timingList() : list_)->setFocus();
  for (QWidget* panel : toolbar_panels_) panel->setVisible(!timing);
  timing_->recorderPanel()->setVisible(timing);
  timing_->filePanel()->setVisible(timing);
  QListView* timing_list = timing_->timingList();
  auto only = [](int frame, int top) {
    return Selection{frame > 0 ? std::vector<int>{frame} : std::vector<int>{}, frame, top};
  };
  const bool from_mini_mode = mini_->active();
  if (from_mini_mode) {
    // The frame list takes the frame mini mode was showing.
    const int frame = mini_->model().current();
    mini_->Leave();
    commands_->Select([&](const Document&, const Selection& s) { return only(frame, s.top); });
  }
  if (timing) {
    const Selection text_list = SelectionOf(list_);
    ApplySelection(timing_list, only(text_list.focus, text_list.top));
    timing_->ShowFileBoxes(file_box_->text(), summary_box_->text());
  } else if (!from_mini_mode) {
    const Selection timed = SelectionOf(timing_list);
    commands_->Select(
        [&](const Document&, const Selection&) { return only(timed.focus, timed.top); });
  }
  PlaceFilmPanel();
}

void MainWindow::PlaceFilmPanel() {
  const bool timing = pages_->currentWidget() == timing_;
  const bool film_shown = film_player_->player().State() != PlayerState::kNoFilm;
  film_panel_->SetTimingMode(timing);
  const bool in_splitter = !(timing && film_shown);
  if (!in_splitter) {
    if (film_panel_->parent() != timing_) timing_->ShowFilmPanel(film_panel_);
  } else if (film_panel_->parent() != film_splitter_) {
    timing_->ShowFilmPanel(nullptr);
    film_splitter_->insertWidget(0, film_panel_);
  }
  film_panel_->setVisible(film_shown);
  PlaceWaveform();
  // Coming into the splitter, the panel takes the size it was last given.
  const bool shown_in_splitter = in_splitter && film_shown;
  if (shown_in_splitter && !film_panel_in_splitter_) SizeFilmPanel(false);
  film_panel_in_splitter_ = shown_in_splitter;
}

void MainWindow::SizeFilmPanel(bool fresh) {
  const bool beside = film_splitter_->orientation() == Qt::Horizontal;
  const int extent = beside ? film_splitter_->width() : film_splitter_->height();
  int& size = session_->settings().FilmPanelSize;
  // The first time (or asked to): beside the list half of the width, above it two thirds of
  // the height (the picture shares the panel with the waveform and the controls); the list
  // keeps room of its own.
  if (fresh || size <= 0) size = beside ? extent / 2 : extent * 2 / 3;
  const int panel = std::clamp(size, 1, std::max(extent - kListKeepsAtLeast, 1));
  film_splitter_->setSizes({panel, std::max(extent - panel, 1)});
}

void MainWindow::ConnectWaveform() {
  // The waveform follows the film player, and its clicks seek the film.
  FilmPlayer* film = film_player_;
  connect(film, &FilmPlayer::filmOpened, waveform_, [this, film] {
    const Player& player = film->player();
    waveform_->OpenFilm(QFile::decodeName(QByteArray::fromStdString(player.FilmPath())));
    waveform_->SetDuration(player.DurationMs());
    waveform_->SetPosition(player.PositionMs());
  });
  auto closed = [this, film] {
    if (film->player().State() == PlayerState::kNoFilm) waveform_->CloseFilm();
  };
  connect(film, &FilmPlayer::filmClosed, waveform_, closed);
  connect(film, &FilmPlayer::filmFailed, waveform_, closed);
  connect(film, &FilmPlayer::positionChanged, waveform_, &WaveformPanel::SetPosition);
  connect(film, &FilmPlayer::stateChanged, waveform_, [this, film] {
    waveform_->SetPlaying(film->player().State() == PlayerState::kPlaying);
  });
  connect(waveform_, &WaveformPanel::seekRequested, film,
          [film](qint64 ms) { film->transport().SeekTo(ms); });
}

void MainWindow::PlaceWaveform() {
  const bool under_picture = film_panel_->parent() == film_splitter_;
  if (under_picture && waveform_->parentWidget() != film_panel_) {
    film_panel_->AddStrip(waveform_);
  } else if (!under_picture && waveform_->parentWidget() == film_panel_) {
    text_column_->insertWidget(text_column_->indexOf(film_splitter_) + 1, waveform_);
  }
  // Moved, a widget hides; the waveform shows while it has a film.
  waveform_->setVisible(waveform_->HasFilm());
}

void MainWindow::ToggleFilmPlace() {
  const bool beside = film_splitter_->orientation() == Qt::Vertical;
  film_splitter_->setOrientation(beside ? Qt::Horizontal : Qt::Vertical);
  SizeFilmPanel(true);
}

// ---------------------------------------------------------------------------------------
// The file commands

void MainWindow::NewClicked() {
  FlushEditor();
  session_->New();
}

void MainWindow::OpenClicked() {
  FlushEditor();
  session_->Open();
}

void MainWindow::ShowHistoryMenu(const QPoint& global_pos) {
  history_menu_->clear();
  for (const HistoryMenuItem& item : session_->HistoryMenu()) {
    QAction* action = history_menu_->addAction(FromPath(item.caption));
    const int index = item.index;
    connect(action, &QAction::triggered, this, [this, index] {
      FlushEditor();
      session_->OpenHistoryEntry(index);
    });
  }
  history_menu_->addSeparator();
  QAction* film = history_menu_->addAction("Open film...");
  film->setObjectName("OpenFilmAction");
  connect(film, &QAction::triggered, this, [this] { film_panel_->ChooseFilm(); });
  history_menu_->popup(global_pos);
}

void MainWindow::SaveAsClicked() {
  FlushEditor();
  session_->SaveAs();
}

void MainWindow::QuickSave() {
  FlushEditor();
  session_->QuickSave();
}

void MainWindow::SaveClicked() {
  FlushEditor();
  session_->Save();
}

void MainWindow::InfoClicked() {
  FlushEditor();
  if (info_dialog_ == nullptr) return;
  info_dialog_->Run(document());
  RefreshFileBoxes();
}

void MainWindow::SettingsClicked() {
  FlushEditor();
  if (settings_dialog_ == nullptr) return;
  settings_dialog_->Run(session_->settings(), session_->history());
  ApplySafetySettings();
  // The limits and options may have changed.
  model_->ChecksChanged();
  spelling_->SetIgnoreCapitals(session_->settings().SpellIgnoreCapitals);
  if (checks_->isVisible()) checks_->Refresh();
}

void MainWindow::FileDropped(const QString& path) {
  FlushEditor();
  const std::string file = QFile::encodeName(path).toStdString();
  if (IsFilmFile(file)) {
    film_panel_->OpenFilm(FullPathOf(file));
  } else {
    session_->OpenDroppedFile(file);
  }
}

void MainWindow::AboutClicked() { session_->prompts().ShowMessage(kAboutText); }

}  // namespace lumetra
