#include "shell/frmAbout.h"

#include "common/QtPrompter.h"
#include "common/ScreenFit.h"
#include "shell/AppIcons.h"
#include "shell/EngravedSeparator.h"
#include "shell/MinimisedWindowRescue.h"
#include "shell/PictureBox.h"

#include <QFontMetrics>
#include <QGuiApplication>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QStyle>
#include <QStyleOptionButton>

#include <variant>
#include <vector>

namespace vorn {
namespace {

enum class Ink { Default, Black };

template <typename... Make> struct Overloaded : Make... {
    using Make::operator()...;
};

} // namespace

// A control of the window: the member it is kept in, which also says what kind of control it is; its
// place in twips from the top-left corner of the client area; its design text.
struct frmAbout::ControlRow {
    const char* name;
    std::variant<QPushButton * frmAbout::*, PictureBox * frmAbout::*, QLabel * frmAbout::*> member;
    int left;
    int top;
    int width;
    int height;
    const char* text;
    Ink ink;
};

// The window's controls in tab order. Labels wrap at word boundaries inside their rectangle and never
// grow; picIcon takes the size of its picture.
std::span<const frmAbout::ControlRow> frmAbout::controlRows()
{
    static constexpr ControlRow rows[] = {
        {"cmdOK", &frmAbout::cmdOK, 4245, 2625, 1260, 345, "OK", Ink::Default},
        {"picIcon", &frmAbout::picIcon, 240, 240, 630, 540, "", Ink::Default},
        {"lblDescription", &frmAbout::lblDescription, 1050, 1125, 3885, 810,
         "This program follows the standard VORN International rules as they stood in the 8th Edition "
         "rulebook. Changes made since that time may require an update to this program.",
         Ink::Black},
        {"lblDisclaimer", &frmAbout::lblDisclaimer, 255, 2625, 3870, 825,
         "Warning: This program is a beta. It might give you wrong numbers. Do not use it for anything "
         "important without double checking the figures first.",
         Ink::Black},
        {"lblTitle", &frmAbout::lblTitle, 1050, 240, 3885, 240, "", Ink::Black},
        {"lblVersion", &frmAbout::lblVersion, 1050, 780, 3885, 225, "", Ink::Default},
        {"cmdHomepage", &frmAbout::cmdHomepage, 4245, 3000, 1260, 345, "Visit Homepage", Ink::Default},
        {"Label1", &frmAbout::Label1, 1050, 2040, 3975, 255,
         "To check for updates, use the Visit Homepage button.", Ink::Default},
        {"Label2", &frmAbout::Label2, 1050, 480, 3885, 240, "Written by Wren Calloway (wren@vorncalc.org)",
         Ink::Black},
    };
    return rows;
}

namespace {

struct LineRow {
    int x1;
    int y1;
    int x2;
    int width;
    QRgb colour;
};

// Line1, index 0 then index 1: the white line lies one pixel below the grey one, which makes the
// engraved look. Both are horizontal; width in pixels.
constexpr LineRow kLine1[] = {
    {105, 2460, 5654, 2, qRgb(255, 255, 255)},
    {90, 2445, 5654, 1, qRgb(128, 128, 128)},
};

constexpr int kClientWidth = 5730;
constexpr int kClientHeight = 3555;
// Where the client area's top-left corner goes, from the screen's top-left corner. Not centred.
constexpr int kLeftOnScreen = 2340;
constexpr int kTopOnScreen = 1935;

// How much the window is widened, step by step, while a caption would be clipped at the font's scale.
constexpr double kWidenStep = 1.05;
constexpr int kMostWidenSteps = 40;

// Said when no browser could be given the homepage: the address, on a line of its own, lets the user
// get there by hand.
constexpr const char* kNoBrowser =
    "The homepage could not be opened in a web browser. To visit it, type this address into your "
    "browser:\r\n";

QLabel* createLabel(const char* text, QWidget* parent)
{
    auto* label = new QLabel(QString::fromUtf8(text), parent);
    label->setTextFormat(Qt::PlainText);
    label->setWordWrap(true);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    label->setFocusPolicy(Qt::NoFocus);
    return label;
}

// Light text on a darker window: a dark theme or a high-contrast one, where black text would vanish.
bool isDarkPalette(const QPalette& palette)
{
    return palette.color(QPalette::WindowText).lightness() > palette.color(QPalette::Window).lightness();
}

bool labelTextFits(const QLabel* label)
{
    const QRect room = label->contentsRect();
    const QRect needed =
        label->fontMetrics().boundingRect(room, int(label->alignment()) | Qt::TextWordWrap, label->text());
    return needed.width() <= room.width() && needed.height() <= room.height();
}

bool buttonTextFits(const QPushButton* button)
{
    QStyleOptionButton option;
    option.initFrom(button);
    option.text = button->text();
    const QRect room = button->style()->subElementRect(QStyle::SE_PushButtonContents, &option, button);
    const QFontMetrics metrics = button->fontMetrics();
    return metrics.horizontalAdvance(button->text()) <= room.width() && metrics.height() <= room.height();
}

} // namespace

frmAbout::frmAbout(HomepageOpener opener, const AppIdentity& identity, Prompter* prompter)
    : m_opener(std::move(opener))
{
    if (!prompter) {
        m_ownPrompter = std::make_unique<QtPrompter>(this);
        prompter = m_ownPrompter.get();
    }
    m_prompter = prompter;

    setObjectName(QStringLiteral("frmAbout"));
    // No entry of its own on the task bar, a close box and nothing else on the title bar: no minimise or
    // maximise button is asked for (a window manager may draw one all the same; see MinimisedWindowRescue).
    setWindowFlags(Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint |
                   Qt::MSWindowsFixedSizeDialogHint);
    // A tool window would not keep the program alive on its own; this one must, after the calculator
    // window has closed. Set after the flags, which reset it.
    setAttribute(Qt::WA_QuitOnClose, true);
    setAttribute(Qt::WA_DeleteOnClose, true);
    setModal(false);
    setSizeGripEnabled(false);
    setWindowIcon(QIcon(aboutPicture()));
    new MinimisedWindowRescue(this);

    createControls();
    Form_Load(identity);

    // The texts are all in place now, so the layout can make room for them.
    m_scale = twipsScale(font());
    applyLayout(m_scale);
    for (int step = 0; step < kMostWidenSteps && !everyTextFits(); ++step) {
        m_scale = {m_scale.x * kWidenStep, m_scale.y * kWidenStep};
        applyLayout(m_scale);
    }
    placeOnScreen();

    connect(cmdOK, &QPushButton::clicked, this, &frmAbout::cmdOK_Click);
    connect(cmdHomepage, &QPushButton::clicked, this, &frmAbout::cmdHomepage_Click);
}

frmAbout::~frmAbout() = default;

QWidget* frmAbout::control(const ControlRow& row) const
{
    return std::visit([this](auto member) -> QWidget* { return this->*member; }, row.member);
}

void frmAbout::createControls()
{
    QWidget* previous = nullptr;
    for (const ControlRow& row : controlRows()) {
        QWidget* created = std::visit(Overloaded{
                                          [&](QPushButton* frmAbout::*member) -> QWidget* {
                                              return this->*member =
                                                         new QPushButton(QString::fromUtf8(row.text), this);
                                          },
                                          [&](PictureBox* frmAbout::*member) -> QWidget* {
                                              return this->*member = new PictureBox(aboutPicture(), this);
                                          },
                                          [&](QLabel* frmAbout::*member) -> QWidget* {
                                              return this->*member = createLabel(row.text, this);
                                          },
                                      },
                                      row.member);
        created->setObjectName(QString::fromUtf8(row.name));
        if (created->focusPolicy() == Qt::NoFocus)
            continue;
        if (previous)
            setTabOrder(previous, created);
        previous = created;
    }

    // OK answers Enter unless another button has the focus; Esc closes the window through QDialog.
    cmdOK->setDefault(true);
    cmdOK->setFocus();

    Line1 = new EngravedSeparator(this);
    Line1->setObjectName(QStringLiteral("Line1"));
    applyInk();
}

void frmAbout::applyInk()
{
    // An empty palette leaves the label with the window's colours.
    QPalette ink;
    if (!isDarkPalette(palette()))
        ink.setColor(QPalette::WindowText, Qt::black);
    for (const ControlRow& row : controlRows())
        if (QWidget* label = control(row); label && row.ink == Ink::Black)
            label->setPalette(ink);
}

void frmAbout::changeEvent(QEvent* event)
{
    // A theme switched while the window is open.
    if (event->type() == QEvent::PaletteChange)
        applyInk();
    QDialog::changeEvent(event);
}

void frmAbout::Form_Load(const AppIdentity& identity)
{
    const QString title = QString::fromStdString(identity.title);
    setWindowTitle(QStringLiteral("About ") + title);
    lblVersion->setText(QStringLiteral("Version %1.%2.%3")
                            .arg(int(identity.major))
                            .arg(int(identity.minor))
                            .arg(int(identity.revision)));
    lblTitle->setText(title);
}

void frmAbout::applyLayout(TwipsScale scale)
{
    for (const ControlRow& row : controlRows()) {
        QWidget* widget = control(row);
        QRect rect = twipsRect(row.left, row.top, row.width, row.height, scale);
        if (widget == picIcon)
            rect.setSize(picIcon->sizeHint());
        widget->setGeometry(rect);
    }

    std::vector<EngravedSeparator::Stroke> strokes;
    for (const LineRow& line : kLine1) {
        QRect rect = twipsRect(line.x1, line.y1, line.x2 - line.x1, 0, scale);
        rect.setHeight(line.width);
        strokes.push_back({rect, QColor(line.colour)});
    }
    Line1->setStrokes(strokes);

    setFixedSize(twipsRect(0, 0, kClientWidth, kClientHeight, scale).size());
}

bool frmAbout::everyTextFits() const
{
    for (const QLabel* label : findChildren<QLabel*>())
        if (label->wordWrap() && !labelTextFits(label))
            return false;
    for (const QPushButton* button : findChildren<QPushButton*>())
        if (!buttonTextFits(button))
            return false;
    return true;
}

void frmAbout::placeOnScreen()
{
    // Screen pixels, not font-scaled ones: the place is on the desktop, not inside the window. With
    // large text the window may not fit there; it then moves just enough to lie on the available area.
    const QRect offset = twipsRect(kLeftOnScreen, kTopOnScreen, 0, 0, TwipsScale{});
    QPoint origin;
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        origin = screen->geometry().topLeft();
    vorn::placeOnScreen(this, origin + offset.topLeft());
}

void frmAbout::cmdOK_Click()
{
    close();
}

void frmAbout::cmdHomepage_Click()
{
    // The window stays open, whatever the shell makes of the address.
    ShellExecuteCall call;
    call.window = winId();
    call.file = QString::fromUtf8(kHomepageUrl);
    call.directory = QStringLiteral("c:\\");
    call.showCommand = 5;
    if (!m_opener || m_opener(call))
        return;
    m_prompter->message(kNoBrowser + std::string(kHomepageUrl));
    // A closed box does not always hand the activation back (it never does offscreen).
    activateWindow();
    cmdHomepage->setFocus(Qt::OtherFocusReason);
}

} // namespace vorn
