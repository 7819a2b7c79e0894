#include "ui/OptionsDialog.h"

#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QFontMetrics>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPixmap>
#include <QPushButton>
#include <QScreen>
#include <QSignalBlocker>
#include <cmath>

#include "core/text/CaptionText.h"
#include "ui/Pictures.h"

// Outside any namespace: Q_INIT_RESOURCE declares the resource's global init function.
static void InitOptionsResourcesOnce() {
    static const bool done = [] {
        Q_INIT_RESOURCE(options);
        return true;
    }();
    static_cast<void>(done);
}

namespace vantrel {

void InitOptionsResources() {
    InitOptionsResourcesOnce();
}

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
    const int room = label->contentsRect().width();
    while (font.pointSizeF() - 0.5 >= kSmallestPoints &&
           QFontMetrics(font).horizontalAdvance(label->text()) > room)
        font.setPointSizeF(font.pointSizeF() - 0.5);
    label->setFont(font);
}

// Positions and sizes in twips (1/1440 inch) of the client area.
struct TwipRect {
    int left, top, width, height;
};

constexpr int kClientWidth = 7380;
constexpr int kClientHeight = 4590;

constexpr TwipRect kImage2{120, 120, 2370, 2070};
constexpr TwipRect kLabel7{120, 2400, 2580, 330};
constexpr TwipRect kLabel8{120, 2790, 2580, 330};
constexpr TwipRect kCheck2{2760, 120, 4500, 300};
constexpr TwipRect kCheck1{2760, 480, 4500, 300};
// Five rows of label and list; the first three lists twice as wide as the last two.
constexpr int kRowCentres[5] = {1140, 1620, 2100, 2580, 3060};
constexpr int kRowLabelLeft = 2760, kRowLabelWidth = 2520, kRowLabelHeight = 480;
constexpr int kListLeft = 5340, kWideList = 1920, kNarrowList = 960;
constexpr int kButtonTop = 4080, kButtonWidth = 1080, kButtonHeight = 390;
constexpr int kCommand1Left = 3780, kCommand3Left = 4980, kCommand2Left = 6180;
constexpr TwipRect kLabel5{120, 4095, 3600, 420};

const QColor kLinkColour(2, 92, 202);
const QColor kCreditColour(255, 0, 0);

QFont ArialFont(double points) {
    QFont font(QStringLiteral("Arial"));
    font.setPointSizeF(points);
    return font;
}

QString FromUtf8(const std::string& text) {
    return QString::fromStdString(text);
}

}  // namespace

frmOpzioni::frmOpzioni(OptionsModel& model, LinkHandler openLink, QWidget* mainWindow)
    : QWidget(mainWindow,
              Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint),
      model_(model),
      openLink_(std::move(openLink)) {
    InitOptionsResources();
    setObjectName(QStringLiteral("frmOpzioni"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowIcon(mainWindow ? mainWindow->windowIcon() : QApplication::windowIcon());

    QPalette white = palette();
    white.setColor(QPalette::Window, Qt::white);
    setPalette(white);
    setAutoFillBackground(true);
    setFont(ArialFont(9.75));

    BuildWidgets();
    PlaceWidgets();
    Connect();
    Mirror();
}

void frmOpzioni::BuildWidgets() {
    // Created in tab order, so the focus chain starts out right as well.
    static constexpr const char* kComboNames[5] = {"Combo1", "Combo2", "Combo3", "Combo4",
                                                   "Combo5"};
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
    check2_ = makeCheck("Check2");
    check1_ = makeCheck("Check1");
    const auto makeButton = [this](const char* name) {
        auto* button = new QPushButton(this);
        button->setObjectName(QString::fromLatin1(name));
        button->setCursor(Qt::PointingHandCursor);
        button->setAutoDefault(false);
        return button;
    };
    command1_ = makeButton("Command1");
    command3_ = makeButton("Command3");
    command2_ = makeButton("Command2");

    QWidget* chain[] = {combos_[0], combos_[1], combos_[2], combos_[3], combos_[4],
                        check2_,    check1_,    command1_,  command3_,  command2_};
    for (std::size_t i = 1; i < std::size(chain); ++i) setTabOrder(chain[i - 1], chain[i]);

    for (std::size_t i = 0; i < labels_.size(); ++i) {
        auto* label = new QLabel(this);
        label->setObjectName(QStringLiteral("Label%1").arg(i + 1));
        label->setTextFormat(Qt::PlainText);
        labels_[i] = label;
    }
    for (QLabel* link : {labels_[6], labels_[7]}) {
        QFont font = ArialFont(11.25);
        font.setUnderline(true);
        link->setFont(font);
        QPalette palette = link->palette();
        palette.setColor(QPalette::WindowText, kLinkColour);
        link->setPalette(palette);
        link->setCursor(Qt::PointingHandCursor);
        link->installEventFilter(this);
    }
    QLabel* credit = labels_[4];
    QFont creditFont = ArialFont(12);
    creditFont.setBold(true);
    creditFont.setItalic(true);
    credit->setFont(creditFont);
    QPalette creditPalette = credit->palette();
    creditPalette.setColor(QPalette::WindowText, kCreditColour);
    credit->setPalette(creditPalette);
    for (QLabel* rowLabel : {labels_[0], labels_[1], labels_[2], labels_[3], labels_[5]}) {
        rowLabel->setWordWrap(true);
        rowLabel->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    }

    image2_ = new QLabel(this);
    image2_->setObjectName(QStringLiteral("Image2"));
}

void frmOpzioni::PlaceWidgets() {
    const QScreen* shown = screen() ? screen() : QGuiApplication::primaryScreen();
    const double dpiX = shown ? shown->logicalDotsPerInchX() : 96.0;
    const double dpiY = shown ? shown->logicalDotsPerInchY() : 96.0;
    const auto px = [](int twips, double dpi) {
        return static_cast<int>(std::lrint(twips * dpi / 1440.0));
    };
    const auto rect = [&](const TwipRect& r) {
        return QRect(px(r.left, dpiX), px(r.top, dpiY), px(r.width, dpiX), px(r.height, dpiY));
    };

    setFixedSize(px(kClientWidth, dpiX), px(kClientHeight, dpiY));

    image2_->setGeometry(rect(kImage2));
    labels_[6]->setGeometry(rect(kLabel7));
    labels_[7]->setGeometry(rect(kLabel8));
    check2_->setGeometry(rect(kCheck2));
    check1_->setGeometry(rect(kCheck1));

    // Label1, Label2, Label3, Label4, Label6 with Combo1..Combo5.
    QLabel* rowLabels[5] = {labels_[0], labels_[1], labels_[2], labels_[3], labels_[5]};
    for (std::size_t row = 0; row < 5; ++row) {
        const int centre = px(kRowCentres[row], dpiY);
        const int labelHeight = px(kRowLabelHeight, dpiY);
        rowLabels[row]->setGeometry(px(kRowLabelLeft, dpiX), centre - labelHeight / 2,
                                    px(kRowLabelWidth, dpiX), labelHeight);
        QComboBox* combo = combos_[row];
        const int height = combo->sizeHint().height();
        combo->setGeometry(px(kListLeft, dpiX), centre - height / 2,
                           px(row < 3 ? kWideList : kNarrowList, dpiX), height);
    }

    const int buttonTop = px(kButtonTop, dpiY);
    const int buttonWidth = px(kButtonWidth, dpiX);
    const int buttonHeight = px(kButtonHeight, dpiY);
    command1_->setGeometry(px(kCommand1Left, dpiX), buttonTop, buttonWidth, buttonHeight);
    command3_->setGeometry(px(kCommand3Left, dpiX), buttonTop, buttonWidth, buttonHeight);
    command2_->setGeometry(px(kCommand2Left, dpiX), buttonTop, buttonWidth, buttonHeight);
    labels_[4]->setGeometry(rect(kLabel5));

    // The picture at the pixel size of its box, sharp on scaled screens too.
    image2_->setPixmap(PictureForBox(QStringLiteral(":/options/Logo"), image2_->size(),
                                     devicePixelRatioF(), Qt::KeepAspectRatio));
}

void frmOpzioni::Connect() {
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
    connect(check1_, &QCheckBox::clicked, this, [this](bool ticked) {
        Edit([this, ticked] { model_.SetChecked(Check::StartAtLogon, ticked); });
    });
    connect(check2_, &QCheckBox::clicked, this, [this](bool ticked) {
        Edit([this, ticked] { model_.SetChecked(Check::Acceleration, ticked); });
    });
    connect(command1_, &QPushButton::clicked, this, [this] { Edit([this] { model_.Ok(); }); });
    connect(command3_, &QPushButton::clicked, this, [this] { Edit([this] { model_.Apply(); }); });
    connect(command2_, &QPushButton::clicked, this, [this] { Edit([this] { model_.Cancel(); }); });
}

void frmOpzioni::Edit(const std::function<void()>& change) {
    change();
    if (model_.State() == OptionsState::Hidden) hide();
    Mirror();
}

QComboBox* frmOpzioni::ComboOf(Choice choice) const {
    return combos_[static_cast<std::size_t>(choice)];
}

void frmOpzioni::Mirror() {
    if (!model_.Loaded()) return;
    const bool wasMirroring = mirroring_;
    mirroring_ = true;

    const OptionsTexts& texts = model_.Texts();
    setWindowTitle(FromUtf8(texts.title));
    // Plain labels show "&&" as one ampersand; buttons and check boxes keep their access keys.
    const std::string* labelTexts[8] = {&texts.label1, &texts.label2, &texts.label3, &texts.label4,
                                        &texts.label5, &texts.label6, &texts.label7, &texts.label8};
    for (std::size_t i = 0; i < labels_.size(); ++i) {
        labels_[i]->setText(FromUtf8(StripAccessKeys(*labelTexts[i])));
    }
    for (QLabel* oneLine : {labels_[4], labels_[6], labels_[7]}) ShrinkToFit(oneLine);
    check1_->setText(FromUtf8(texts.check1));
    check2_->setText(FromUtf8(texts.check2));
    command1_->setText(FromUtf8(texts.command1));
    command2_->setText(FromUtf8(texts.command2));
    command3_->setText(FromUtf8(texts.command3));

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
        const QSignalBlocker block1(check1_);
        const QSignalBlocker block2(check2_);
        check1_->setChecked(model_.Checked(Check::StartAtLogon));
        check2_->setChecked(model_.Checked(Check::Acceleration));
    }
    command3_->setEnabled(model_.ApplyEnabled());

    mirroring_ = wasMirroring;
}

void frmOpzioni::closeEvent(QCloseEvent* event) {
    // The close box unloads: edits not applied are forgotten.
    model_.Unload();
    event->accept();
}

bool frmOpzioni::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::MouseButtonRelease &&
        (watched == labels_[6] || watched == labels_[7])) {
        const auto* mouse = static_cast<QMouseEvent*>(event);
        const auto* label = static_cast<QLabel*>(watched);
        if (mouse->button() == Qt::LeftButton &&
            label->rect().contains(mouse->position().toPoint()) && openLink_) {
            openLink_(watched == labels_[6] ? SettingsLink::Mouse : SettingsLink::GameController);
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
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
            [[maybe_unused]] const bool started =
                OpenSettingsLink(link, launcher_, launcher_.CurrentDesktops(),
                                 [this](const std::string& program) {
                                     return launcher_.ProgramExists(program);
                                 });
        };
        dialog_ = new frmOpzioni(model_, openLink, mainWindow_.data());
    }
    dialog_->show();
    dialog_->raise();
    dialog_->activateWindow();
}

void OptionsDialogHost::Unload() {
    if (dialog_) {
        frmOpzioni* closing = dialog_.data();
        dialog_.clear();
        closing->close();  // unloads the model and deletes the window
    }
    model_.Unload();
}

}  // namespace vantrel
