#include "ui/AboutWindow.h"

#include <QCloseEvent>
#include <QFrame>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QTimer>

#include "core/info/AboutTexts.h"
#include "core/info/Documents.h"
#include "core/info/ProgramVersion.h"
#include "core/text/CaptionText.h"
#include "ui/LinkLabel.h"
#include "ui/Look.h"

namespace vantrel {

namespace {

// Layout in twips: the window, the credits' viewport and the panel that scrolls through it.
constexpr int kClientWidth = 6375;
constexpr int kClientHeight = 3645;
constexpr int kViewportHeight = 2235;
constexpr int kPanelWidth = 5775;
constexpr int kPanelHeight = 4155;
constexpr int kPanelLeft = 60;
// In the window.
constexpr TwipRect kTitlePicture{0, 0, 1155, 1125};
constexpr TwipRect kProductName{1155, 330, 3240, 375};  // right of the picture
constexpr TwipRect kVersion{4620, 510, 720, 195};
constexpr TwipRect kTitleRule{-60, 1140, 6495, 25};  // at least a pixel high
constexpr TwipRect kViewport{210, 1170, 5940, kViewportHeight};
// On the panel.
constexpr TwipRect kDescription{900, 0, 3945, 1095};
constexpr TwipRect kCopyright{690, 1320, 4380, 435};
constexpr TwipRect kMakerLogoBox{1740, 2040, 2250, 1800};
constexpr TwipRect kHomePageCaptionBox{720, 3870, 1050, 195};
constexpr TwipRect kHomePageLink{1860, 3840, 3255, 255};

const QColor kTitleBlue(2, 92, 202);
const QColor kDarkRed(128, 0, 0);
const QColor kDarkBlue(40, 86, 147);

bool IsLeftClickInside(QEvent* event, QWidget* widget) {
    const auto* mouse = static_cast<QMouseEvent*>(event);
    return mouse->button() == Qt::LeftButton &&
           widget->rect().contains(mouse->position().toPoint());
}

}  // namespace

AboutWindow::AboutWindow(OpenerPort& opener)
    : QWidget(nullptr, Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                           Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint),
      opener_(opener),
      scroller_(kViewportHeight, kPanelHeight) {
    setObjectName("aboutWindow");
    setAttribute(Qt::WA_DeleteOnClose);
    setFixedSize(Px(kClientWidth), Px(kClientHeight));
    MakeWhite(this);
    BuildHeader();
    BuildCredits();

    // The window stays open whether or not the page could be opened.
    connect(homePage_, &LinkLabel::activated, this, [this] {
        const bool opened = opener_.OpenAddress(homePage_->text().toStdString());
        static_cast<void>(opened);
    });
    setTabOrder(viewport_, homePage_);

    // Start: the scrolling starts from the top edge 2200 with the pause counter at 0.
    scroller_.Reset();
    PlacePanel();
    timer_ = new QTimer(this);
    timer_->setObjectName("scrollTimer");
    connect(timer_, &QTimer::timeout, this, &AboutWindow::OnScrollTick);
    timer_->start(AboutScroller::kIntervalMs);

    viewport_->setFocus();  // the first control that takes the focus
}

// A click on any of the header's parts, or on the credits' texts, closes the window.
void AboutWindow::BuildHeader() {
    auto* title = AddLabel(this, "imgTitle", kTitlePicture);
    title->setPixmap(
        RenderPicture(kAboutTitlePicture, title->size(), devicePixelRatioF(), PictureFit::Fill));
    auto* name = AddLabel(this, "titleLabel", kProductName);
    name->setFont(LookFont("Verdana", 15.75, true));
    SetTextColour(name, kTitleBlue);
    name->setText(QString::fromUtf8(kAboutProductTitle.data(), kAboutProductTitle.size()));
    name->adjustSize();
    version_ = AddLabel(this, "versionLabel", kVersion);
    version_->setFont(LookFont("Verdana", 8.25, true));
    SetTextColour(version_, kDarkRed);
    for (QWidget* part : {title, name, version_}) part->installEventFilter(this);

    auto* rule = new QFrame(this);
    rule->setObjectName("titleRule");
    rule->setGeometry(Px(kTitleRule.left), Px(kTitleRule.top), Px(kTitleRule.width),
                      std::max(1, Px(kTitleRule.height)));
    QPalette rulePalette = rule->palette();
    rulePalette.setColor(QPalette::Window, kTitleBlue);
    rule->setPalette(rulePalette);
    rule->setAutoFillBackground(true);
    rule->setAttribute(Qt::WA_NoMousePropagation);  // a click on the rule does nothing
}

void AboutWindow::BuildCredits() {
    viewport_ = new QWidget(this);
    viewport_->setObjectName("scrollViewport");
    viewport_->setGeometry(Px(kViewport.left), Px(kViewport.top), Px(kViewport.width),
                           Px(kViewport.height));
    MakeWhite(viewport_);
    viewport_->setFocusPolicy(Qt::StrongFocus);
    viewport_->setAttribute(Qt::WA_NoMousePropagation);  // nor one on the credits' background
    viewport_->installEventFilter(this);

    panel_ = new QWidget(viewport_);
    panel_->setObjectName("scrollPanel");
    panel_->resize(Px(kPanelWidth), Px(kPanelHeight));
    MakeWhite(panel_);

    description_ = AddLabel(panel_, "descriptionLabel", kDescription);
    description_->setFont(LookFont("Verdana", 9));
    SetTextColour(description_, kDarkBlue);
    copyright_ = AddLabel(panel_, "copyrightLabel", kCopyright);
    copyright_->setFont(LookFont("Verdana", 8.25));
    for (QLabel* text : {description_, copyright_}) {
        text->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
        text->setWordWrap(true);
        text->installEventFilter(this);
    }

    auto* logo = AddLabel(panel_, "makerLogo", kMakerLogoBox);
    logo->setPixmap(RenderPicture(kMakerLogo, logo->size(), devicePixelRatioF(), PictureFit::Fill));
    auto* caption = AddLabel(panel_, "homePageCaption", kHomePageCaptionBox);
    caption->setFont(LookFont("Verdana", 8.25));
    caption->setText(QString::fromUtf8(kHomePageCaption.data(), kHomePageCaption.size()));
    caption->adjustSize();

    homePage_ = new LinkLabel(panel_);
    homePage_->setObjectName("homePageLink");
    homePage_->setTextFormat(Qt::PlainText);
    homePage_->setGeometry(Px(kHomePageLink.left), Px(kHomePageLink.top), Px(kHomePageLink.width),
                           Px(kHomePageLink.height));
    QFont linkFont = LookFont("Arial", 11.25);
    linkFont.setUnderline(true);
    homePage_->setFont(linkFont);
    SetTextColour(homePage_, Qt::red);
    homePage_->setText(QString::fromStdString(PageAddress(WebPage::Home)));
    homePage_->adjustSize();
}

int AboutWindow::Px(int twips) const {
    return TwipsToPixels(twips, DotsPerInchY(*this));
}

QLabel* AboutWindow::AddLabel(QWidget* parent, const char* name, const TwipRect& box) {
    auto* label = new QLabel(parent);
    label->setObjectName(QString::fromLatin1(name));
    label->setTextFormat(Qt::PlainText);     // texts come from files and may hold "<"
    const double dpi = DotsPerInchY(*this);  // the window's layout uses one scale for both
    label->setGeometry(TwipsToRect(box, dpi, dpi));
    return label;
}

void AboutWindow::SetTexts(const LangText& texts) {
    setWindowTitle(QString::fromStdString(texts[TextId::AboutTitle]));
    // The credits area is what takes the focus, so a screen reader names it like the window.
    viewport_->setAccessibleName(
        QString::fromStdString(StripAccessKeys(texts[TextId::AboutTitle])));
    viewport_->setAccessibleDescription(QString::fromStdString(texts[TextId::AboutDescription]));
    version_->setText(QString::fromStdString(ReleaseText(OwnVersion())));
    version_->adjustSize();
    description_->setText(QString::fromStdString(texts[TextId::AboutDescription]));
    // A label without a buddy shows "&" as it is, so the maker's ampersand stays single.
    copyright_->setText(QString::fromStdString(CreditLine(texts)));
}

void AboutWindow::OnScrollTick() {
    scroller_.Tick();
    PlacePanel();
}

void AboutWindow::PlacePanel() {
    panel_->move(Px(kPanelLeft), Px(scroller_.Top()));
}

bool AboutWindow::eventFilter(QObject* watched, QEvent* event) {
    auto* widget = qobject_cast<QWidget*>(watched);
    if (widget == nullptr) return QWidget::eventFilter(watched, event);
    if (widget == viewport_) {
        if (event->type() == QEvent::KeyPress &&
            static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape) {
            close();
            return true;
        }
        return QWidget::eventFilter(watched, event);
    }
    if (event->type() == QEvent::MouseButtonPress) {
        return static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton;  // wait for release
    }
    if (event->type() == QEvent::MouseButtonRelease) {
        if (IsLeftClickInside(event, widget)) close();
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

void AboutWindow::mousePressEvent(QMouseEvent* event) {
    event->setAccepted(event->button() == Qt::LeftButton);
}

void AboutWindow::mouseReleaseEvent(QMouseEvent* event) {
    if (IsLeftClickInside(event, this)) close();  // a click on the window itself
}

void AboutWindow::closeEvent(QCloseEvent* event) {
    timer_->stop();  // Shutdown
    QWidget::closeEvent(event);
}

AboutWindowHost::~AboutWindowHost() {
    delete window_.data();
}

void AboutWindowHost::Show(const LangText& texts) {
    const bool fresh = window_.isNull();
    if (fresh) {
        window_ = new AboutWindow(opener_);
        ForgetControlPicturesWith(window_);
    }
    window_->SetTexts(texts);
    if (fresh) {
        if (const QScreen* screen = window_->screen()) {
            QRect frame = window_->frameGeometry();
            frame.moveCenter(screen->availableGeometry().center());
            window_->move(frame.topLeft());
        }
    }
    window_->show();
    window_->raise();
    window_->activateWindow();
}

}  // namespace vantrel
