#include "ui/OptionsDialog.h"

#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalBlocker>

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

// Positions and sizes in twips (1/1440 inch) of the client area.
struct TwipRect {
    int left, top, width, height;
};

constexpr int kClientWidth = 7380;
constexpr int kClientHeight = 4590;

constexpr TwipRect kJoystickPicture{120, 120, 2370, 2070};
constexpr TwipRect kMouseSettingsLink{120, 2400, 2580, 330};
constexpr TwipRect kControllerSettingsLink{120, 2790, 2580, 330};
constexpr TwipRect kAccelerationBox{2760, 120, 4500, 300};
constexpr TwipRect kStartAtLogonBox{2760, 480, 4500, 300};
// Five rows of label and list; the first three lists twice as wide as the last two.
constexpr int kRowCentres[5] = {1140, 1620, 2100, 2580, 3060};
constexpr int kRowLabelLeft = 2760, kRowLabelWidth = 2520, kRowLabelHeight = 480;
constexpr int kListLeft = 5340, kWideList = 1920, kNarrowList = 960;
constexpr int kButtonTop = 4080, kButtonWidth = 1080, kButtonHeight = 390;
constexpr int kOkLeft = 3780, kApplyLeft = 4980, kCancelLeft = 6180;
constexpr TwipRect kCreditLine{120, 4095, 3600, 420};

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

    BuildWidgets();
    PlaceWidgets();
    Connect();
    Mirror();
}

void OptionsDialog::BuildWidgets() {
    // Created in tab order, so the focus chain starts out right as well.
    static constexpr const char* kComboNames[5] = {"leftButtonList", "rightButtonList",
                                                   "middleButtonList", "speedList", "joystickList"};
    for (std::size_t i = 0; i < combos_.size(); ++i) {
        auto* combo = new QComboBox(this);
        combo->setObjectName(QString::fromLatin1(kComboNames[i]));
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

    static constexpr const char* kLabelNames[8] = {
        "leftButtonLabel", "rightButtonLabel", "middleButtonLabel", "speedLabel",
        "creditLabel",     "joystickLabel",    "mouseSettingsLink", "controllerSettingsLink"};
    mouseLink_ = new LinkLabel(this);
    controllerLink_ = new LinkLabel(this);
    for (std::size_t i = 0; i < labels_.size(); ++i) {
        QLabel* label = i == 6 ? mouseLink_ : i == 7 ? controllerLink_ : new QLabel(this);
        label->setObjectName(QString::fromLatin1(kLabelNames[i]));
        label->setTextFormat(Qt::PlainText);
        labels_[i] = label;
    }
    for (QLabel* link : {labels_[6], labels_[7]}) {
        QFont font = LookFont("Arial", 11.25);
        font.setUnderline(true);
        link->setFont(font);
        SetTextColour(link, kLinkColour);
    }

    // Tab goes as the eye reads: down the settings column (check boxes, lists, then the buttons
    // left to right), then the links below the picture. The window still opens on the first list.
    QWidget* chain[] = {accelerationBox_, startAtLogonBox_, combos_[0], combos_[1],
                        combos_[2],       combos_[3],       combos_[4], okButton_,
                        applyButton_,     cancelButton_,    mouseLink_, controllerLink_};
    for (std::size_t i = 1; i < std::size(chain); ++i) setTabOrder(chain[i - 1], chain[i]);
    QLabel* credit = labels_[4];
    QFont creditFont = LookFont("Arial", 12);
    creditFont.setBold(true);
    creditFont.setItalic(true);
    credit->setFont(creditFont);
    SetTextColour(credit, kCreditColour);
    // A caption's buddy is what ties it to its list for screen readers (the labelled-by
    // relation) and gives the list the caption's access key.
    QLabel* rowLabels[5] = {labels_[0], labels_[1], labels_[2], labels_[3], labels_[5]};
    for (std::size_t row = 0; row < combos_.size(); ++row) {
        rowLabels[row]->setWordWrap(true);
        rowLabels[row]->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
        rowLabels[row]->setBuddy(combos_[row]);
    }

    joystickPicture_ = new QLabel(this);
    joystickPicture_->setObjectName(QStringLiteral("joystickPicture"));
}

void OptionsDialog::PlaceWidgets() {
    const double dpiX = DotsPerInchX(*this);
    const double dpiY = DotsPerInchY(*this);
    const auto px = TwipsToPixels;
    // Edges, not sizes, are rounded: boxes that meet in twips meet in pixels at any scale.
    const auto rect = [&](const TwipRect& r) {
        const int left = px(r.left, dpiX), top = px(r.top, dpiY);
        return QRect(left, top, px(r.left + r.width, dpiX) - left,
                     px(r.top + r.height, dpiY) - top);
    };

    setFixedSize(px(kClientWidth, dpiX), px(kClientHeight, dpiY));

    joystickPicture_->setGeometry(rect(kJoystickPicture));
    labels_[6]->setGeometry(rect(kMouseSettingsLink));
    labels_[7]->setGeometry(rect(kControllerSettingsLink));
    accelerationBox_->setGeometry(rect(kAccelerationBox));
    startAtLogonBox_->setGeometry(rect(kStartAtLogonBox));

    // The five rows: caption and list.
    QLabel* rowLabels[5] = {labels_[0], labels_[1], labels_[2], labels_[3], labels_[5]};
    for (std::size_t row = 0; row < 5; ++row) {
        const int centre = px(kRowCentres[row], dpiY);
        rowLabels[row]->setGeometry(rect({kRowLabelLeft, kRowCentres[row] - kRowLabelHeight / 2,
                                          kRowLabelWidth, kRowLabelHeight}));
        QComboBox* combo = combos_[row];
        const int height = combo->sizeHint().height();
        combo->setGeometry(px(kListLeft, dpiX), centre - height / 2,
                           px(row < 3 ? kWideList : kNarrowList, dpiX), height);
    }

    const int buttonTop = px(kButtonTop, dpiY);
    const int buttonWidth = px(kButtonWidth, dpiX);
    const int buttonHeight = px(kButtonHeight, dpiY);
    okButton_->setGeometry(px(kOkLeft, dpiX), buttonTop, buttonWidth, buttonHeight);
    applyButton_->setGeometry(px(kApplyLeft, dpiX), buttonTop, buttonWidth, buttonHeight);
    cancelButton_->setGeometry(px(kCancelLeft, dpiX), buttonTop, buttonWidth, buttonHeight);
    labels_[4]->setGeometry(rect(kCreditLine));

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

    const OptionsTexts& texts = model_.Texts();
    setWindowTitle(FromUtf8(texts.title));
    // Captions with a buddy, buttons and check boxes keep their access keys; the other labels
    // show "&&" as one ampersand.
    const std::string* labelTexts[8] = {&texts.leftButton,
                                        &texts.rightButton,
                                        &texts.middleButton,
                                        &texts.speed,
                                        &texts.credit,
                                        &texts.joystick,
                                        &texts.mouseSettingsLink,
                                        &texts.controllerSettingsLink};
    for (std::size_t i = 0; i < labels_.size(); ++i) {
        const bool withKey = labels_[i]->buddy() != nullptr;
        labels_[i]->setText(FromUtf8(withKey ? *labelTexts[i] : StripAccessKeys(*labelTexts[i])));
    }
    for (QLabel* oneLine : {labels_[4], labels_[6], labels_[7]}) ShrinkToFit(oneLine);
    startAtLogonBox_->setText(FromUtf8(texts.startAtLogon));
    accelerationBox_->setText(FromUtf8(texts.acceleration));
    okButton_->setText(FromUtf8(texts.ok));
    cancelButton_->setText(FromUtf8(texts.cancel));
    applyButton_->setText(FromUtf8(texts.apply));

    for (const Choice choice :
         {Choice::Left, Choice::Right, Choice::Middle, Choice::Speed, Choice::Joystick}) {
        const ListChoice& list = model_.List(choice);
        QComboBox* combo = ComboOf(choice);
        const QSignalBlocker block(combo);
        QStringList items;
        for (const std::string& item : list.items) items << FromUtf8(item);
        bool same = combo->count() == items.size();
        for (int i = 0; same && i < items.size(); ++i) same = combo->itemText(i) == items[i];
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

    {
        const QSignalBlocker block1(startAtLogonBox_);
        const QSignalBlocker block2(accelerationBox_);
        startAtLogonBox_->setChecked(model_.Checked(Check::StartAtLogon));
        accelerationBox_->setChecked(model_.Checked(Check::Acceleration));
    }
    applyButton_->setEnabled(model_.ApplyEnabled());
    NameForScreenReaders();

    mirroring_ = wasMirroring;
}

void OptionsDialog::NameForScreenReaders() {
    // The lists are named by their captions' buddy relation and the links by their text; every
    // name is the caption as shown, without access-key markers, so it follows the language.
    for (QAbstractButton* control : std::initializer_list<QAbstractButton*>{
             accelerationBox_, startAtLogonBox_, okButton_, applyButton_, cancelButton_}) {
        control->setAccessibleName(FromUtf8(StripAccessKeys(control->text().toStdString())));
    }
    joystickPicture_->setAccessibleDescription(FromUtf8(model_.Texts().joystickPicture));
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
