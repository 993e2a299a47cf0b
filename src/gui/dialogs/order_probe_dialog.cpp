#include "gui/dialogs/order_probe_dialog.h"

#include "gui/qt_text.h"
#include "gui/widgets/apply_language.h"
#include "gui/widgets/design_layout.h"
#include "gui/widgets/dialog_fit.h"
#include "gui/widgets/dialog_placement.h"
#include "gui/widgets/multi_line_buttons.h"
#include "gui/widgets/widget_names.h"
#include "i18n/language_catalogue.h"
#include "jobs/messages.h"
#include "platform/text.h"

#include <QApplication>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QShowEvent>
#include <QStackedWidget>
#include <QtConcurrent/QtConcurrentRun>
#include <algorithm>
#include <initializer_list>
#include <utility>

namespace tralvo {

namespace {

constexpr const char* WindowClass = "TOrderProbeForm";
constexpr const char* FormName = "OrderProbeForm";

// The design in Tahoma 8 pt at 96 dpi: one column of text 320 pixels wide, lines of 13
// pixels, the buttons of the settings dialog below it.
constexpr int Margin = 8;
constexpr int DesignTextWidth = 320;
constexpr int DesignLine = 13;
constexpr int TextToControls = 8;
constexpr int BetweenChoices = 4;
constexpr int PagesToButtons = 15;
constexpr int BetweenButtons = 5;

QLabel* PlaceText(QWidget* page, const char* name) {
    auto* label = Named(new QLabel(page), name);
    label->setWordWrap(true);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    return label;
}

// Stacks page's controls at the text width, each at the height its text needs there.
int StackDown(const std::vector<std::pair<QWidget*, int>>& controls, int width) {
    int top = 0;
    for (auto [control, gapAbove] : controls) {
        top += gapAbove;
        int height = control->sizeHint().height();
        if (control->hasHeightForWidth()) {
            height = std::max(height, control->heightForWidth(width));
        }
        const int controlWidth = qobject_cast<QPushButton*>(control) != nullptr
                                     ? FittedButtonSize(*static_cast<QPushButton*>(control)).width()
                                     : width;
        control->setGeometry(0, top, controlWidth, height);
        top += height;
    }
    return top;
}

} // namespace

OrderProbeDialog::OrderProbeDialog(jobs::OrderProbeOperations operations, Messages& messages,
                                   QWidget* parent)
    : QDialog(parent), operations_(std::move(operations)), messages_(messages) {
    SetUpFixedDialog(*this, FormName, QStringLiteral("Which order does my player use?"));
    setModal(true);
    CreateControls();
    FormCreate();
}

OrderProbeDialog::~OrderProbeDialog() {
    // The write holds the operations and the root: it must end before they go.
    writing_.waitForFinished();
}

void OrderProbeDialog::CreateControls() {
    PagesSW = Named(new QStackedWidget(this), "PagesSW");

    IntroPage = Named(new QWidget(PagesSW), "IntroPage");
    IntroLbl = PlaceText(IntroPage, "IntroLbl");
    WriteBtn =
        Named(new QPushButton(QStringLiteral("&Write the probe folder"), IntroPage), "WriteBtn");

    WritingPage = Named(new QWidget(PagesSW), "WritingPage");
    WritingLbl = PlaceText(WritingPage, "WritingLbl");
    WritingPB = Named(new QProgressBar(WritingPage), "WritingPB");
    WritingPB->setRange(0, 0); // busy: the write tells no progress
    WritingPB->setTextVisible(false);

    QuestionPage = Named(new QWidget(PagesSW), "QuestionPage");
    QuestionLbl = PlaceText(QuestionPage, "QuestionLbl");
    OneRB = Named(new MultiLineRadioButton(QStringLiteral("\"one\""), QuestionPage), "OneRB");
    TwoRB = Named(new MultiLineRadioButton(QStringLiteral("\"two\""), QuestionPage), "TwoRB");
    ThreeRB = Named(new MultiLineRadioButton(QStringLiteral("\"three\""), QuestionPage), "ThreeRB");
    NoneRB = Named(
        new MultiLineRadioButton(QStringLiteral("None of them / I cannot tell"), QuestionPage),
        "NoneRB");

    for (QWidget* page : {IntroPage, WritingPage, QuestionPage}) {
        PagesSW->addWidget(page);
    }

    OKBtn = Named(new QPushButton(QStringLiteral("OK"), this), "OKBtn");
    CancelBtn = Named(new QPushButton(QStringLiteral("Cancel"), this), "CancelBtn");
    CancelBtn->setAutoDefault(false);

    connect(WriteBtn, &QPushButton::clicked, this, &OrderProbeDialog::WriteBtnClick);
    connect(OKBtn, &QPushButton::clicked, this, &OrderProbeDialog::OKBtnClick);
    connect(CancelBtn, &QPushButton::clicked, this, &OrderProbeDialog::reject);
    connect(&writing_, &QFutureWatcher<Status>::finished, this, &OrderProbeDialog::WriteFinished);
    for (QRadioButton* choice :
         std::initializer_list<QRadioButton*>{OneRB, TwoRB, ThreeRB, NoneRB}) {
        connect(choice, &QRadioButton::toggled, OKBtn,
                [this] { OKBtn->setEnabled(PagesSW->currentWidget() == QuestionPage); });
    }
}

void OrderProbeDialog::FormCreate() {
    ApplyLanguage(*this, WindowClass);
    LayOut();
}

// One column as wide as the design or the widest choice, every text wrapped in it; the
// pages share the height of the tallest, so that the buttons stay put from page to page.
void OrderProbeDialog::LayOut() {
    DesignScale scale;
    scale.down = std::max(1.0, static_cast<double>(fontMetrics().height()) / DesignLine);
    int widest = FittingButtonWidth(*WriteBtn);
    for (QWidget* choice : std::initializer_list<QWidget*>{OneRB, TwoRB, ThreeRB, NoneRB}) {
        widest = std::max(widest, choice->sizeHint().width());
    }
    scale.across = std::max(1.0, static_cast<double>(widest) / DesignTextWidth);
    const int width = scale.Width(DesignTextWidth);
    const int gap = scale.Height(TextToControls);
    const int choiceGap = scale.Height(BetweenChoices);

    const int height = std::max({StackDown({{IntroLbl, 0}, {WriteBtn, gap}}, width),
                                 StackDown({{WritingLbl, 0}, {WritingPB, gap}}, width),
                                 StackDown({{QuestionLbl, 0},
                                            {OneRB, gap},
                                            {TwoRB, choiceGap},
                                            {ThreeRB, choiceGap},
                                            {NoneRB, choiceGap}},
                                           width)});
    PagesSW->setGeometry(Margin, Margin, width, height);
    // The stack sizes only the page it shows; each is measured before it is shown.
    for (QWidget* page : {IntroPage, WritingPage, QuestionPage}) {
        page->resize(width, height);
    }

    const QSize button = FittedButtonSize(*OKBtn).expandedTo(FittedButtonSize(*CancelBtn));
    const int top = PagesSW->geometry().bottom() + 1 + scale.Height(PagesToButtons);
    EndWithButton(*this, *CancelBtn, button, Margin + width, top, Margin);
    OKBtn->setGeometry(CancelBtn->x() - BetweenButtons - button.width(), top, button.width(),
                       button.height());
}

std::optional<PlayerType> OrderProbeDialog::Run(const std::string& root) {
    root_ = root;
    written_ = false;
    result_.reset();
    ShowPage(IntroPage);
    exec();
    return result_;
}

void OrderProbeDialog::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (!event->spontaneous()) {
        CentreOnOwner(*this);
    }
}

void OrderProbeDialog::ShowPage(QWidget* page) {
    PagesSW->setCurrentWidget(page);
    WriteBtn->setDefault(page == IntroPage);
    OKBtn->setDefault(page == QuestionPage);
    OKBtn->setEnabled(page == QuestionPage && Answered());
    CancelBtn->setEnabled(page != WritingPage);
    if (page == IntroPage) {
        WriteBtn->setFocus();
    }
}

void OrderProbeDialog::WriteBtnClick() {
    const std::optional<ProbeSounds> sounds =
        operations_.findSounds(ToLowerAscii(GetLanguageCode()));
    if (!sounds) {
        messages_.Show(jobs::ProbeSoundsMissingMessage(FormName));
        return;
    }
    writingNow_ = true;
    ShowPage(WritingPage);
    QApplication::setOverrideCursor(Qt::WaitCursor);
    writing_.setFuture(QtConcurrent::run(operations_.write, root_, *sounds));
}

void OrderProbeDialog::WriteFinished() {
    writingNow_ = false;
    QApplication::restoreOverrideCursor();
    const Status written = writing_.result();
    if (!written.ok()) {
        ShowPage(IntroPage);
        messages_.Show(jobs::ProbeWriteFailedMessage(written, root_, FormName));
        return;
    }
    written_ = true;
    ShowPage(QuestionPage);
    OneRB->setFocus(Qt::TabFocusReason);
}

bool OrderProbeDialog::Answered() const {
    return OneRB->isChecked() || TwoRB->isChecked() || ThreeRB->isChecked() || NoneRB->isChecked();
}

// "None" is a choice too: it lets the user close with OK, changing nothing.
std::optional<PlayerType> OrderProbeDialog::Chosen() const {
    if (OneRB->isChecked()) {
        return PlayerTypeForFirstWord(ProbeWord::One);
    }
    if (TwoRB->isChecked()) {
        return PlayerTypeForFirstWord(ProbeWord::Two);
    }
    if (ThreeRB->isChecked()) {
        return PlayerTypeForFirstWord(ProbeWord::Three);
    }
    return std::nullopt;
}

void OrderProbeDialog::RemoveProbe() {
    if (!std::exchange(written_, false)) {
        return;
    }
    const Status removed = operations_.remove(root_);
    if (!removed.ok()) {
        messages_.Show(jobs::ProbeRemoveFailedMessage(removed, root_, FormName));
    }
}

void OrderProbeDialog::OKBtnClick() {
    if (PagesSW->currentWidget() != QuestionPage) {
        return;
    }
    RemoveProbe();
    result_ = Chosen();
    accept();
}

void OrderProbeDialog::reject() {
    // Escape, Cancel and the close box wait for the write, which must not be cut off.
    if (Writing()) {
        return;
    }
    RemoveProbe();
    result_.reset();
    QDialog::reject();
}

} // namespace tralvo
