#include "ui/OptionsDialog.h"

#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QFrame>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalBlocker>
#include <QSlider>

#include "core/text/CaptionText.h"
#include "ui/LinkLabel.h"
#include "ui/Look.h"

namespace vantrel {

namespace {

// The smallest font a one-line label is shrunk to.
constexpr double kSmallestPoints = 7.0;

// Translations run longer than the captions the layout was drawn for: a one-line label whose
// text is wider than its box is shown in a smaller font rather than cut off.
void ShrinkToFit(QLabel* label) {
    label->ensurePolished();  // a style sheet's font counts only once applied
    // Each new text starts again from the font the layout gave the label.
    const QVariant designed = label->property("designedFont");
    if (!designed.isValid()) label->setProperty("designedFont", label->font());
    QFont font = designed.isValid() ? designed.value<QFont>() : label->font();
    const int room = label->width();
    label->setFont(font);
    while (font.pointSizeF() - 0.5 >= kSmallestPoints * TextScale() &&
           label->sizeHint().width() > room) {
        font.setPointSizeF(font.pointSizeF() - 0.5);
        label->setFont(font);
    }
}

// Positions and sizes in twips of the client area. The first layout ended at 4590 twips; the
// settings added since lie below it, in the settings column, so nothing above them moves.
constexpr int kClientWidth = 7380;
constexpr int kClientHeight = 6870;

constexpr TwipRect kJoystickPicture{120, 120, 2370, 2070};
constexpr TwipRect kMouseSettingsLink{120, 2400, 2580, 330};
constexpr TwipRect kControllerSettingsLink{120, 2790, 2580, 330};
constexpr TwipRect kAccelerationBox{2760, 120, 4500, 300};
constexpr TwipRect kStartAtLogonBox{2760, 480, 4500, 300};
constexpr TwipRect kCreditLine{120, 4095, 3600, 420};
constexpr int kRowCaptionLeft = 2760, kRowCaptionWidth = 2520, kRowCaptionHeight = 480;
constexpr int kListLeft = 5340, kWideList = 1920, kNarrowList = 960;
// OK, Apply and Cancel side by side.
constexpr int kButtonTop = 4080, kButtonWidth = 1080, kButtonHeight = 390;
constexpr int kFirstButtonLeft = 3780, kButtonPitch = 1200;
// The added settings: a rule under the first layout, the scroll box, then the scroll speed with
// its slow and fast ends below the slider.
constexpr TwipRect kAddedRule{120, 4650, 7140, 30};
constexpr TwipRect kScrollStickBox{2760, 4770, 4500, 300};
constexpr TwipRect kScrollSpeedCaption{2760, 5100, 2520, 420};
constexpr TwipRect kScrollSpeedSlider{5340, 5115, 1920, 330};
constexpr TwipRect kScrollSlowLabel{5340, 5460, 960, 300};
constexpr TwipRect kScrollFastLabel{6300, 5460, 960, 300};
// The pause chord: its caption beside its two lists, one under the other, as wide as the button
// lists.
constexpr TwipRect kPauseChordCaption{2760, 5850, 2520, 900};
constexpr int kFirstPauseListCentre = 6090, kPauseListPitch = 480;

// The five rows of caption and list, in Choice order (and tab order): the first three lists
// twice as wide as the last two.
struct Row {
    const char* listName;
    const char* captionName;
    std::string OptionsTexts::*caption;
    int centre;  // twips from the top
    int listWidth;
};
constexpr Row kRows[5] = {
    {"leftButtonList", "leftButtonLabel", &OptionsTexts::leftButton, 1140, kWideList},
    {"rightButtonList", "rightButtonLabel", &OptionsTexts::rightButton, 1620, kWideList},
    {"middleButtonList", "middleButtonLabel", &OptionsTexts::middleButton, 2100, kWideList},
    {"speedList", "speedLabel", &OptionsTexts::speed, 2580, kNarrowList},
    {"joystickList", "joystickLabel", &OptionsTexts::joystick, 3060, kNarrowList},
};

const QColor kLinkColour(2, 92, 202);
const QColor kCreditColour(255, 0, 0);

QString FromUtf8(const std::string& text) {
    return QString::fromStdString(text);
}

}  // namespace

OptionsDialog::OptionsDialog(OptionsModel& model, LinkHandler openLink, QWidget* mainWindow)
    : QWidget(mainWindow,
              Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint),
      model_(model),
      openLink_(std::move(openLink)) {
    setObjectName(QStringLiteral("optionsDialog"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowIcon(mainWindow ? mainWindow->windowIcon() : QApplication::windowIcon());

    MakeWhite(this);
    setFont(LookFont("Arial", 9.75));

    BuildControls();
    BuildCaptions();
    PlaceWidgets();
    Connect();
    Mirror();
}

void OptionsDialog::BuildControls() {
    // Created in tab order, so the focus chain starts out right as well.
    for (std::size_t i = 0; i < combos_.size(); ++i) {
        auto* combo = new QComboBox(this);
        combo->setObjectName(QString::fromLatin1(kRows[i].listName));
        combo->setEditable(true);
        // Typed text stays typed text: no completion, and Enter never adds an item.
        combo->setCompleter(nullptr);
        combo->setInsertPolicy(QComboBox::NoInsert);
        combo->setCursor(Qt::PointingHandCursor);
        combos_[i] = combo;
    }
    const auto makeCheck = [this](const char* name) {
        auto* check = new QCheckBox(this);
        check->setObjectName(QString::fromLatin1(name));
        check->setCursor(Qt::PointingHandCursor);
        return check;
    };
    accelerationBox_ = makeCheck("accelerationBox");
    startAtLogonBox_ = makeCheck("startAtLogonBox");
    scrollStickBox_ = makeCheck("scrollStickBox");
    scrollSpeedSlider_ = new QSlider(Qt::Horizontal, this);
    scrollSpeedSlider_->setObjectName(QStringLiteral("scrollSpeedSlider"));
    scrollSpeedSlider_->setRange(kSlowestScroll, kFastestScroll);
    scrollSpeedSlider_->setPageStep(1);
    scrollSpeedSlider_->setTickPosition(QSlider::TicksBelow);
    scrollSpeedSlider_->setTickInterval(1);
    scrollSpeedSlider_->setCursor(Qt::PointingHandCursor);
    // Picked from, not typed in: "" is no chord.
    constexpr const char* kPauseListNames[] = {"pauseFirstList", "pauseSecondList"};
    for (std::size_t i = 0; i < pauseLists_.size(); ++i) {
        pauseLists_[i] = new QComboBox(this);
        pauseLists_[i]->setObjectName(QString::fromLatin1(kPauseListNames[i]));
        pauseLists_[i]->setCursor(Qt::PointingHandCursor);
    }
    const auto makeButton = [this](const char* name) {
        auto* button = new QPushButton(this);
        button->setObjectName(QString::fromLatin1(name));
        button->setCursor(Qt::PointingHandCursor);
        button->setAutoDefault(false);
        return button;
    };
    okButton_ = makeButton("okButton");
    applyButton_ = makeButton("applyButton");
    cancelButton_ = makeButton("cancelButton");
    joystickPicture_ = new QLabel(this);
    joystickPicture_->setObjectName(QStringLiteral("joystickPicture"));
}

void OptionsDialog::BuildCaptions() {
    const auto makeLabel = []<class Label>(Label* label, const char* name) {
        label->setObjectName(QString::fromLatin1(name));
        label->setTextFormat(Qt::PlainText);
        return label;
    };
    for (std::size_t row = 0; row < rowCaptions_.size(); ++row) {
        QLabel* caption = makeLabel(new QLabel(this), kRows[row].captionName);
        caption->setWordWrap(true);
        caption->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
        // A caption's buddy is what ties it to its list for screen readers (the labelled-by
        // relation) and gives the list the caption's access key.
        caption->setBuddy(combos_[row]);
        rowCaptions_[row] = caption;
    }
    scrollSpeedCaption_ = makeLabel(new QLabel(this), "scrollSpeedLabel");
    scrollSpeedCaption_->setWordWrap(true);
    scrollSpeedCaption_->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    scrollSpeedCaption_->setBuddy(scrollSpeedSlider_);
    scrollSlowLabel_ = makeLabel(new QLabel(this), "scrollSlowLabel");
    scrollSlowLabel_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    scrollFastLabel_ = makeLabel(new QLabel(this), "scrollFastLabel");
    scrollFastLabel_->setAlignment(Qt::AlignRight | Qt::AlignTop);
    pauseChordCaption_ = makeLabel(new QLabel(this), "pauseChordLabel");
    pauseChordCaption_->setWordWrap(true);
    pauseChordCaption_->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    pauseChordCaption_->setBuddy(pauseLists_[0]);
    addedRule_ = new QFrame(this);
    addedRule_->setObjectName(QStringLiteral("addedSettingsRule"));
    addedRule_->setFrameShape(QFrame::HLine);
    addedRule_->setFrameShadow(QFrame::Sunken);
    creditLabel_ = makeLabel(new QLabel(this), "creditLabel");
    QFont creditFont = LookFont("Arial", 12, true);
    creditFont.setItalic(true);
    creditLabel_->setFont(creditFont);
    SetTextColour(creditLabel_, kCreditColour);
    mouseLink_ = makeLabel(new LinkLabel(this), "mouseSettingsLink");
    controllerLink_ = makeLabel(new LinkLabel(this), "controllerSettingsLink");
    for (QLabel* link : {mouseLink_, controllerLink_}) {
        QFont font = LookFont("Arial", 11.25);
        font.setUnderline(true);
        link->setFont(font);
        SetTextColour(link, kLinkColour);
    }

    // Tab goes as the eye reads: down the settings column (check boxes, lists, the buttons left
    // to right, the added settings below them), then the links below the picture. The window
    // still opens on the first list.
    QWidget* chain[] = {accelerationBox_, startAtLogonBox_, combos_[0],      combos_[1],
                        combos_[2],       combos_[3],       combos_[4],      okButton_,
                        applyButton_,     cancelButton_,    scrollStickBox_, scrollSpeedSlider_,
                        pauseLists_[0],   pauseLists_[1],   mouseLink_,      controllerLink_};
    for (std::size_t i = 1; i < std::size(chain); ++i) setTabOrder(chain[i - 1], chain[i]);
}

void OptionsDialog::PlaceWidgets() {
    const double dpiX = DotsPerInchX(*this);
    const double dpiY = DotsPerInchY(*this);
    const auto px = TwipsToPixels;
    const auto rect = [&](const TwipRect& r) { return TwipsToRect(r, dpiX, dpiY); };

    setFixedSize(px(kClientWidth, dpiX), px(kClientHeight, dpiY));
    joystickPicture_->setGeometry(rect(kJoystickPicture));
    mouseLink_->setGeometry(rect(kMouseSettingsLink));
    controllerLink_->setGeometry(rect(kControllerSettingsLink));
    accelerationBox_->setGeometry(rect(kAccelerationBox));
    startAtLogonBox_->setGeometry(rect(kStartAtLogonBox));
    creditLabel_->setGeometry(rect(kCreditLine));
    addedRule_->setGeometry(rect(kAddedRule));
    scrollStickBox_->setGeometry(rect(kScrollStickBox));
    scrollSpeedCaption_->setGeometry(rect(kScrollSpeedCaption));
    scrollSpeedSlider_->setGeometry(rect(kScrollSpeedSlider));
    scrollSlowLabel_->setGeometry(rect(kScrollSlowLabel));
    scrollFastLabel_->setGeometry(rect(kScrollFastLabel));
    pauseChordCaption_->setGeometry(rect(kPauseChordCaption));
    for (std::size_t i = 0; i < pauseLists_.size(); ++i) {
        const int height = pauseLists_[i]->sizeHint().height();
        const int centre = kFirstPauseListCentre + static_cast<int>(i) * kPauseListPitch;
        pauseLists_[i]->setGeometry(px(kListLeft, dpiX), px(centre, dpiY) - height / 2,
                                    px(kWideList, dpiX), height);
    }
    for (std::size_t row = 0; row < combos_.size(); ++row) {
        const Row& r = kRows[row];
        rowCaptions_[row]->setGeometry(rect({kRowCaptionLeft, r.centre - kRowCaptionHeight / 2,
                                             kRowCaptionWidth, kRowCaptionHeight}));
        // A list keeps its own height, centred on the row.
        QComboBox* combo = combos_[row];
        const int height = combo->sizeHint().height();
        combo->setGeometry(px(kListLeft, dpiX), px(r.centre, dpiY) - height / 2,
                           px(r.listWidth, dpiX), height);
    }
    int left = kFirstButtonLeft;
    for (QPushButton* button : {okButton_, applyButton_, cancelButton_}) {
        button->setGeometry(px(left, dpiX), px(kButtonTop, dpiY), px(kButtonWidth, dpiX),
                            px(kButtonHeight, dpiY));
        left += kButtonPitch;
    }

    joystickPicture_->setPixmap(RenderPicture(kOptionsPicture, joystickPicture_->size(),
                                              devicePixelRatioF(), PictureFit::KeepAspect));
}

void OptionsDialog::Connect() {
    for (std::size_t i = 0; i < combos_.size(); ++i) {
        const auto choice = static_cast<Choice>(i);
        QComboBox* combo = combos_[i];
        connect(combo, &QComboBox::activated, this, [this, choice](int index) {
            if (!mirroring_) Edit([this, choice, index] { model_.Pick(choice, index); });
        });
        connect(combo->lineEdit(), &QLineEdit::textEdited, this,
                [this, choice](const QString& text) {
                    if (!mirroring_) {
                        Edit([this, choice, text] { model_.Type(choice, text.toStdString()); });
                    }
                });
    }
    connect(startAtLogonBox_, &QCheckBox::clicked, this, [this](bool ticked) {
        Edit([this, ticked] { model_.SetChecked(Check::StartAtLogon, ticked); });
    });
    connect(accelerationBox_, &QCheckBox::clicked, this, [this](bool ticked) {
        Edit([this, ticked] { model_.SetChecked(Check::Acceleration, ticked); });
    });
    connect(scrollStickBox_, &QCheckBox::clicked, this, [this](bool ticked) {
        Edit([this, ticked] { model_.SetChecked(Check::ScrollStick, ticked); });
    });
    connect(scrollSpeedSlider_, &QSlider::valueChanged, this, [this](int step) {
        if (!mirroring_) Edit([this, step] { model_.SetScrollSpeed(step); });
    });
    for (std::size_t i = 0; i < pauseLists_.size(); ++i) {
        connect(pauseLists_[i], &QComboBox::activated, this,
                [this, list = static_cast<ChordList>(i)](int position) {
                    if (!mirroring_)
                        Edit([this, list, position] { model_.PickChord(list, position); });
                });
    }
    connect(okButton_, &QPushButton::clicked, this, [this] { Edit([this] { model_.Ok(); }); });
    connect(applyButton_, &QPushButton::clicked, this,
            [this] { Edit([this] { model_.Apply(); }); });
    connect(cancelButton_, &QPushButton::clicked, this,
            [this] { Edit([this] { model_.Cancel(); }); });
    connect(mouseLink_, &LinkLabel::activated, this, [this] {
        if (openLink_) openLink_(SettingsLink::Mouse);
    });
    connect(controllerLink_, &LinkLabel::activated, this, [this] {
        if (openLink_) openLink_(SettingsLink::GameController);
    });
}

void OptionsDialog::Edit(const std::function<void()>& change) {
    change();
    if (model_.State() == OptionsState::Hidden) hide();
    Mirror();
}

QComboBox* OptionsDialog::ComboOf(Choice choice) const {
    return combos_[static_cast<std::size_t>(choice)];
}

void OptionsDialog::Mirror() {
    if (!model_.Loaded()) return;
    const bool wasMirroring = mirroring_;
    mirroring_ = true;
    MirrorTexts();
    MirrorLists();
    {
        const QSignalBlocker block1(startAtLogonBox_);
        const QSignalBlocker block2(accelerationBox_);
        startAtLogonBox_->setChecked(model_.Checked(Check::StartAtLogon));
        accelerationBox_->setChecked(model_.Checked(Check::Acceleration));
    }
    MirrorScrollControls();
    MirrorChordLists();
    applyButton_->setEnabled(model_.ApplyEnabled());
    NameForScreenReaders();
    mirroring_ = wasMirroring;
}

void OptionsDialog::MirrorTexts() {
    const OptionsTexts& texts = model_.Texts();
    setWindowTitle(FromUtf8(texts.title));
    // Captions with a buddy, buttons and check boxes keep their access keys; the other labels
    // show "&&" as one ampersand.
    for (std::size_t row = 0; row < rowCaptions_.size(); ++row)
        rowCaptions_[row]->setText(FromUtf8(texts.*kRows[row].caption));
    creditLabel_->setText(FromUtf8(StripAccessKeys(texts.credit)));
    mouseLink_->setText(FromUtf8(StripAccessKeys(texts.mouseSettingsLink)));
    controllerLink_->setText(FromUtf8(StripAccessKeys(texts.controllerSettingsLink)));
    scrollSpeedCaption_->setText(FromUtf8(texts.scrollSpeed));
    scrollSlowLabel_->setText(FromUtf8(StripAccessKeys(texts.scrollSlow)));
    scrollFastLabel_->setText(FromUtf8(StripAccessKeys(texts.scrollFast)));
    for (QLabel* oneLine :
         {creditLabel_, static_cast<QLabel*>(mouseLink_), static_cast<QLabel*>(controllerLink_),
          scrollSlowLabel_, scrollFastLabel_})
        ShrinkToFit(oneLine);
    scrollStickBox_->setText(FromUtf8(texts.scrollStick));
    pauseChordCaption_->setText(FromUtf8(texts.pauseChord));
    startAtLogonBox_->setText(FromUtf8(texts.startAtLogon));
    accelerationBox_->setText(FromUtf8(texts.acceleration));
    okButton_->setText(FromUtf8(texts.ok));
    cancelButton_->setText(FromUtf8(texts.cancel));
    applyButton_->setText(FromUtf8(texts.apply));
}

void OptionsDialog::MirrorLists() {
    for (std::size_t i = 0; i < combos_.size(); ++i) {
        const ListChoice& list = model_.List(static_cast<Choice>(i));
        QComboBox* combo = combos_[i];
        const QSignalBlocker block(combo);
        QStringList items;
        for (const std::string& item : list.items) items << FromUtf8(item);
        bool same = combo->count() == items.size();
        for (int n = 0; same && n < items.size(); ++n) same = combo->itemText(n) == items[n];
        if (!same) {
            combo->clear();
            combo->addItems(items);
        }
        // A field that already shows the model's text is left alone, so typing keeps its cursor.
        const QString text = FromUtf8(list.text);
        if (list.position) {
            if (combo->currentIndex() != *list.position) combo->setCurrentIndex(*list.position);
        } else if (combo->currentText() != text) {
            combo->setCurrentIndex(-1);
        }
        if (combo->lineEdit()->text() != text) combo->setEditText(text);
    }
}

void OptionsDialog::MirrorScrollControls() {
    {
        const QSignalBlocker blockBox(scrollStickBox_);
        const QSignalBlocker blockSlider(scrollSpeedSlider_);
        scrollStickBox_->setChecked(model_.Checked(Check::ScrollStick));
        scrollSpeedSlider_->setValue(model_.ScrollSpeed());
    }
    scrollStickBox_->setEnabled(model_.ScrollStickEnabled());
    for (QWidget* speedPart : std::initializer_list<QWidget*>{
             scrollSpeedCaption_, scrollSpeedSlider_, scrollSlowLabel_, scrollFastLabel_})
        speedPart->setEnabled(model_.ScrollSpeedEnabled());
    // A disabled control says why, to the pointer and to screen readers.
    const QString why =
        model_.ScrollStickEnabled() ? QString() : FromUtf8(model_.Texts().noScrollStick);
    for (QWidget* control : std::initializer_list<QWidget*>{scrollStickBox_, scrollSpeedSlider_})
        control->setToolTip(why);
}

void OptionsDialog::MirrorChordLists() {
    QStringList items;
    for (const std::string& item : model_.ChordItems()) items << FromUtf8(item);
    for (std::size_t i = 0; i < pauseLists_.size(); ++i) {
        QComboBox* list = pauseLists_[i];
        const QSignalBlocker block(list);
        // A refused pick is undone here: the list shows the model's choice again.
        bool same = list->count() == items.size();
        for (int n = 0; same && n < items.size(); ++n) same = list->itemText(n) == items[n];
        if (!same) {
            list->clear();
            list->addItems(items);
        }
        list->setCurrentIndex(model_.ChordPosition(static_cast<ChordList>(i)));
    }
}

void OptionsDialog::NameForScreenReaders() {
    // The lists are named by their captions' buddy relation and the links by their text; every
    // name is the caption as shown, without access-key markers, so it follows the language.
    for (QAbstractButton* control :
         std::initializer_list<QAbstractButton*>{accelerationBox_, startAtLogonBox_, okButton_,
                                                 applyButton_, cancelButton_, scrollStickBox_}) {
        control->setAccessibleName(FromUtf8(StripAccessKeys(control->text().toStdString())));
    }
    const OptionsTexts& texts = model_.Texts();
    joystickPicture_->setAccessibleDescription(FromUtf8(texts.joystickPicture));
    // Two lists under one caption: each is the caption with its number.
    for (std::size_t i = 0; i < pauseLists_.size(); ++i)
        pauseLists_[i]->setAccessibleName(
            FromUtf8(StripAccessKeys(texts.pauseChord) + " " + std::to_string(i + 1)));
    // The slider's value is a bare number: its description says which end is which, or, while
    // the pad has no second stick, why it cannot be moved.
    scrollStickBox_->setAccessibleDescription(scrollStickBox_->toolTip());
    scrollSpeedSlider_->setAccessibleDescription(
        model_.ScrollStickEnabled()
            ? FromUtf8(StripAccessKeys(texts.scrollSlow + " - " + texts.scrollFast))
            : scrollSpeedSlider_->toolTip());
}

void OptionsDialog::FocusFirstControl() {
    combos_[0]->setFocus(Qt::ActiveWindowFocusReason);
}

void OptionsDialog::closeEvent(QCloseEvent* event) {
    // The close box unloads: edits not applied are forgotten.
    model_.Unload();
    event->accept();
}

void OptionsDialog::keyPressEvent(QKeyEvent* event) {
    // An editable list has already taken the typed text (a text equal to an item picks it)
    // before an unused Enter comes up to the window.
    const bool plain = (event->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier;
    if (plain && (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter)) {
        // On Apply or Cancel, Enter presses that button: pressing OK there would apply what the
        // user just chose not to.
        QPushButton* pressed = okButton_;
        for (QPushButton* button : {applyButton_, cancelButton_})
            if (button->hasFocus()) pressed = button;
        pressed->click();
        return;
    }
    if (plain && event->key() == Qt::Key_Escape) {
        cancelButton_->click();
        return;
    }
    QWidget::keyPressEvent(event);
}

OptionsDialogHost::OptionsDialogHost(Settings& settings, const LangText& texts,
                                     OptionsServices services, ProcessLauncherPort& launcher,
                                     QWidget* mainWindow)
    : model_(settings, texts, std::move(services)), launcher_(launcher), mainWindow_(mainWindow) {}

OptionsDialogHost::~OptionsDialogHost() {
    delete dialog_.data();
}

void OptionsDialogHost::Open() {
    const bool loaded = model_.Open();
    // A window closed a moment ago may still wait for its deletion; it belongs to the old load.
    if (loaded || !dialog_) {
        const auto openLink = [this](SettingsLink link) {
            // Nothing to start, or a failed start, leaves the link without effect.
            [[maybe_unused]] const bool started = OpenSettingsLink(
                link, launcher_, launcher_.CurrentDesktops(),
                [this](const std::string& program) { return launcher_.ProgramExists(program); });
        };
        dialog_ = new OptionsDialog(model_, openLink, mainWindow_.data());
        ForgetControlPicturesWith(dialog_);
    } else {
        dialog_->Mirror();  // the pads as the model looked at them again
    }
    dialog_->show();
    dialog_->raise();
    dialog_->activateWindow();
    // Keyboard users start at the first control whether the window is new or shown again.
    dialog_->FocusFirstControl();
}

void OptionsDialogHost::Unload() {
    if (dialog_) {
        OptionsDialog* closing = dialog_.data();
        dialog_.clear();
        closing->close();  // unloads the model and deletes the window
    }
    model_.Unload();
}

}  // namespace vantrel
