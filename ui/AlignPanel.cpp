// SPDX-License-Identifier: GPL-3.0-or-later
// The guided alignment panel.
#include "ui/AlignPanel.h"

#include "align/AlignmentRun.h"
#include "common/Product.h"
#include "ui/CurvePictureView.h"
#include "ui/UiHooks.h"

#include <QGuiApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QTreeWidget>
#include <QVBoxLayout>

#include <algorithm>

namespace {

const char* const StoppedByTechnician = "Stopped by the technician.";
const char* const PlanFilter = "Alignment plans (*.plan *.ini);;All files (*)";
enum Column { StepColumn, StateColumn, ResultColumn };

// The curve a step's procedure draws; none for a step without one.
std::optional<CurveKind> curveOf(const PlanStep& step) {
    if (!step.procedure) {
        return std::nullopt;
    }
    switch (*step.procedure) {
    case ProcedureId::BpfLow:
        return CurveKind::SweepLow;
    case ProcedureId::BpfMid:
        return CurveKind::SweepMid;
    case ProcedureId::BpfHigh:
        return CurveKind::SweepHigh;
    case ProcedureId::Txf:
        return CurveKind::Txf;
    case ProcedureId::SMeter:
        return CurveKind::SMeter;
    default:
        return std::nullopt;
    }
}

void setText(QTreeWidgetItem& item, int column, const std::string& text) {
    const QString now = QString::fromStdString(text);
    if (item.text(column) != now) {
        item.setText(column, now);
    }
}

} // namespace

AlignPanel::AlignPanel(QWidget* parent) : QWidget(parent, Qt::Window) {
    setWindowTitle(QString("%1 - Guided alignment").arg(product::Title));
    buildControls();
    connectButtons();
    showRun(nullptr, {});
}

void AlignPanel::buildControls() {
    lblTitle = new QLabel(this);
    lblTitle->setWordWrap(true);
    cmdOpen = new QPushButton(QStringLiteral("&Open plan…"), this);
    lstSteps = new QTreeWidget(this);
    lstSteps->setRootIsDecorated(false);
    lstSteps->setAllColumnsShowFocus(true);
    lstSteps->setHeaderLabels(
        {QStringLiteral("Step"), QStringLiteral("State"), QStringLiteral("Result")});
    lstSteps->header()->setStretchLastSection(true);
    lblSet = new QLabel(this);
    lblSet->setWordWrap(true);
    lblSet->setTextInteractionFlags(Qt::TextSelectableByMouse);
    curve = new CurvePictureView(this);
    cmdStart = new QPushButton(QStringLiteral("&Start"), this);
    cmdReady = new QPushButton(QStringLiteral("&Ready"), this);
    cmdSkip = new QPushButton(QStringLiteral("S&kip"), this);
    cmdAutomatic = new QPushButton(QStringLiteral("Run the &automatic steps"), this);
    cmdStop = new QPushButton(QStringLiteral("S&top"), this);

    auto* top = new QHBoxLayout;
    top->addWidget(lblTitle, 1);
    top->addWidget(cmdOpen);
    auto* buttons = new QHBoxLayout;
    for (QPushButton* b : {cmdStart, cmdReady, cmdSkip, cmdAutomatic, cmdStop}) {
        b->setAutoDefault(false);
        buttons->addWidget(b);
    }
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(lstSteps, 1);
    layout->addWidget(lblSet);
    layout->addWidget(curve, 2);
    layout->addLayout(buttons);
    resize(640, 720);
}

void AlignPanel::connectButtons() {
    connect(cmdOpen, &QPushButton::clicked, this, &AlignPanel::choosePlan);
    connect(cmdStart, &QPushButton::clicked, this, [this] {
        if (const auto step = selectedStep(); run && step) {
            emit stepWanted(*step);
        }
    });
    connect(cmdReady, &QPushButton::clicked, this, [this] {
        if (run) {
            run->ready();
        }
    });
    connect(cmdSkip, &QPushButton::clicked, this, [this] {
        if (const auto step = selectedStep(); run && step) {
            run->skip(*step);
        }
    });
    connect(cmdAutomatic, &QPushButton::clicked, this, [this] {
        if (run) {
            emit automaticWanted();
        }
    });
    connect(cmdStop, &QPushButton::clicked, this, [this] {
        if (run) {
            run->stop(StoppedByTechnician);
        }
    });
    connect(lstSteps, &QTreeWidget::currentItemChanged, this, [this] { refreshButtons(); });
}

void AlignPanel::showRun(AlignmentRun* alignment, const std::string& planFile) {
    run = alignment;
    planPath = planFile;
    followed.reset();
    fillSteps();
    refreshButtons();
}

void AlignPanel::fillSteps() {
    lstSteps->clear();
    if (!run) {
        lblTitle->setText(QStringLiteral("No alignment plan is open."));
        return;
    }
    const AlignmentPlan& plan = run->plan();
    QString title = QString::fromStdString(plan.title.empty() ? planPath : plan.title);
    if (!plan.note.empty()) {
        title += "\n" + QString::fromStdString(plan.note);
    }
    lblTitle->setText(title);
    for (const PlanStep& step : plan.steps) {
        auto* item = new QTreeWidgetItem(lstSteps);
        item->setText(StepColumn, QString::fromStdString(step.name));
    }
    if (lstSteps->topLevelItemCount() > 0) {
        lstSteps->setCurrentItem(lstSteps->topLevelItem(0));
    }
    lstSteps->resizeColumnToContents(StepColumn);
}

std::optional<std::size_t> AlignPanel::selectedStep() const {
    const int row = lstSteps->indexOfTopLevelItem(lstSteps->currentItem());
    return run && row >= 0 ? std::optional<std::size_t>(static_cast<std::size_t>(row))
                           : std::nullopt;
}

void AlignPanel::refresh(const CurveLog& curves) {
    if (!run) {
        curve->showCurve(nullptr, std::nullopt);
        return;
    }
    // The step that starts running is the one shown; the technician may look elsewhere after.
    if (run->current() != followed) {
        followed = run->current();
        if (followed) {
            lstSteps->setCurrentItem(lstSteps->topLevelItem(static_cast<int>(*followed)));
        }
    }
    for (int row = 0; row < lstSteps->topLevelItemCount(); ++row) {
        const auto step = static_cast<std::size_t>(row);
        QTreeWidgetItem& item = *lstSteps->topLevelItem(row);
        setText(item, StateColumn, stepStateText(run->state(step)));
        setText(item, ResultColumn, run->result(step));
    }
    const std::optional<std::size_t> step = selectedStep();
    const QString set = step ? QString::fromStdString(run->whatToSet(*step)) : QString();
    if (lblSet->text() != set) {
        lblSet->setText(set);
    }
    curve->showCurve(&curves, step ? curveOf(run->plan().steps[*step]) : std::nullopt);
    refreshButtons();
}

void AlignPanel::refreshButtons() {
    const bool busy = run && run->running();
    const bool chosen = selectedStep().has_value();
    cmdOpen->setEnabled(!busy);
    cmdStart->setEnabled(run && !busy && chosen);
    cmdReady->setEnabled(run && run->waitingForReady());
    cmdSkip->setEnabled(run && chosen && (!busy || run->waitingForReady()));
    cmdAutomatic->setEnabled(run && !busy);
    cmdStop->setEnabled(busy);
}

void AlignPanel::placeBeside(QWidget& window) {
    QRect main = window.frameGeometry();
    const QScreen* screen = window.screen() ? window.screen() : QGuiApplication::primaryScreen();
    const QRect room = screen ? screen->availableGeometry() : main;
    // As narrow as the panel's controls allow where the screen is short of room: the console
    // must stay in sight while a step runs.
    const int narrowest = minimumSizeHint().width();
    int right = room.right() - main.right();
    int left = main.left() - room.left();
    if (std::max(right, left) < narrowest && room.width() >= main.width() + narrowest) {
        // Neither side has room, the screen has: the window moves to its left edge.
        window.move(room.left() + (window.x() - main.left()), window.y());
        main.moveLeft(room.left());
        right = room.right() - main.right();
        left = 0;
    }
    const int fits = std::max(std::min(width(), std::max(right, left)), narrowest);
    resize(fits, height());
    // Where even that is too wide it covers the window's edge rather than leave the screen.
    move(right >= left ? std::min(main.right() + 1, room.right() + 1 - fits)
                       : std::max(room.left(), main.left() - fits),
         main.top());
}

void AlignPanel::choosePlan() {
    const std::string path = ui::chooseFile(
        this, {ui::FileChoice::Open, "Open an alignment plan", planPath, PlanFilter});
    if (!path.empty()) {
        emit planChosen(path);
    }
}
