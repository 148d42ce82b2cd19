#include "ui/window/parameter_undo.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>
#include <QUndoCommand>
#include <QUndoStack>
#include <algorithm>

namespace korvan {

namespace step {
const LocalizedText kEdit{"Změna parametru", "Parameter change", "Parameteränderung"};
const LocalizedText kAdvanceMinus{"Předstih -", "Advance -", "Vorzündung -"};
const LocalizedText kAdvancePlus{"Předstih +", "Advance +", "Vorzündung +"};
const LocalizedText kColumnMinus{"Sloupec -", "Column -", "Spalte -"};
const LocalizedText kColumnPlus{"Sloupec +", "Column +", "Spalte +"};
const LocalizedText kServoMinus{"Servo -", "Servo -", "Servo -"};
const LocalizedText kServoPlus{"Servo +", "Servo +", "Servo +"};
const LocalizedText kTps0{"Nastavit TPS 0 %", "Set TPS 0 %", "TPS 0 % setzen"};
const LocalizedText kTps100{"Nastavit TPS 100 %", "Set TPS 100 %", "TPS 100 % setzen"};
const LocalizedText kNew{"Nový", "New", "Neu"};
const LocalizedText kBikeType{"Typ motocyklu", "Motorbike type", "Motorradtyp"};
const LocalizedText kOpen{"Otevřít %1", "Open %1", "Öffnen %1"};
const LocalizedText kOpenPoint{"Otevřít bod obnovy %1", "Open restore point %1",
                               "Öffnen Wiederherstellungspunkt %1"};
const LocalizedText kRead{"Čtení z jednotky", "Read from unit", "Lesen aus Zündbox"};
}  // namespace step

namespace {

const LocalizedText kEditMenu{"Úpr&avy", "&Edit", "&Bearbeiten"};
const LocalizedText kUndoItem{"&Zpět", "&Undo", "&Rückgängig"};
const LocalizedText kRedoItem{"Z&novu", "&Redo", "&Wiederholen"};

}  // namespace

// One step: the state before and after. The first redo comes from QUndoStack::push, when the
// change has already been made.
class ParameterStep : public QUndoCommand {
  public:
    ParameterStep(ParameterUndo& owner, StepName name, const ParameterUndo::State& before,
                  const ParameterUndo::State& after)
        : owner_(owner), name_(std::move(name)), before_(before), after_(after) {
        setText(name_.In(owner_.model_.Language()));
    }

    void undo() override { owner_.Apply(before_); }
    void redo() override {
        if (pushed_) {
            pushed_ = false;
            return;
        }
        owner_.Apply(after_);
    }
    void Rename(std::uint8_t language) { setText(name_.In(language)); }

  private:
    ParameterUndo& owner_;
    StepName name_;
    ParameterUndo::State before_;
    ParameterUndo::State after_;
    bool pushed_ = true;
};

ParameterUndo::ParameterUndo(QMenuBar& bar, ParameterModel& model) : model_(model) {
    stack_ = new QUndoStack(this);
    stack_->setUndoLimit(kStepLimit);

    editMenu = new QMenu(&bar);
    editMenu->setObjectName("MenuEdit");
    const QList<QAction*> menus = bar.actions();
    // Right after File, where tuners look for it.
    if (menus.size() > 1) {
        bar.insertMenu(menus[1], editMenu);
    } else {
        bar.addMenu(editMenu);
    }
    undoItem = editMenu->addAction(QString());
    undoItem->setObjectName("MenuUndo");
    undoItem->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Z));
    redoItem = editMenu->addAction(QString());
    redoItem->setObjectName("MenuRedo");
    redoItem->setShortcuts(
        {QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z), QKeySequence(Qt::CTRL | Qt::Key_Y)});
    // Wherever the focus is in the window; a field with typed text not yet taken keeps Ctrl+Z
    // for itself (NumericEdit).
    for (QAction* item : {undoItem, redoItem}) item->setShortcutContext(Qt::WindowShortcut);
    connect(undoItem, &QAction::triggered, this, &ParameterUndo::Undo);
    connect(redoItem, &QAction::triggered, this, &ParameterUndo::Redo);
    connect(stack_, &QUndoStack::indexChanged, this, &ParameterUndo::UpdateItems);
    connect(&model, &ParameterModel::Changed, this, &ParameterUndo::Record);
    connect(&model, &ParameterModel::LanguageChanged, this, &ParameterUndo::ApplyLanguage);
    ApplyLanguage();
}

StepName ParameterUndo::NameOf(const ModelChange& change) {
    if (change.name.Given()) return change.name;
    switch (change.kind) {
        case CommitKind::TypedField:
        case CommitKind::MapOperation:
        case CommitKind::CurveDrag:
        case CommitKind::Undo:
            break;
        case CommitKind::Tool:
            switch (change.tool) {
                case EditTool::None:
                    break;
                case EditTool::AdvanceMinus:
                    return StepName(step::kAdvanceMinus);
                case EditTool::AdvancePlus:
                    return StepName(step::kAdvancePlus);
                case EditTool::ColumnMinus:
                    return StepName(step::kColumnMinus);
                case EditTool::ColumnPlus:
                    return StepName(step::kColumnPlus);
                case EditTool::ServoMinus:
                    return StepName(step::kServoMinus);
                case EditTool::ServoPlus:
                    return StepName(step::kServoPlus);
                case EditTool::Tps0:
                    return StepName(step::kTps0);
                case EditTool::Tps100:
                    return StepName(step::kTps100);
            }
            break;
        case CommitKind::Open:
            return StepName(step::kOpen, change.subject);
        case CommitKind::HistoryPoint:
            return StepName(step::kOpenPoint, change.subject);
        case CommitKind::Read:
            return StepName(step::kRead);
        case CommitKind::New:
            return StepName(step::kNew);
        case CommitKind::BikeType:
            return StepName(step::kBikeType);
    }
    return StepName(step::kEdit);
}

ParameterUndo::~ParameterUndo() = default;

ParameterUndo::State ParameterUndo::Current() const {
    State state;
    const DeviceImage& image = model_.Image();
    std::copy_n(image.bytes.begin() + kParamImageBegin, kParamImageSize, state.params.begin());
    state.extendedMonitor = model_.ExtendedMonitor();
    return state;
}

void ParameterUndo::Apply(const State& state) {
    DeviceImage image = model_.Image();
    std::copy(state.params.begin(), state.params.end(), image.bytes.begin() + kParamImageBegin);
    model_.Replace(image, state.extendedMonitor, ModelChange(CommitKind::Undo));
    known_ = Current();
}

void ParameterUndo::Reset() {
    stack_->clear();
    known_ = Current();
    UpdateItems();
}

void ParameterUndo::Record(const ModelChange& change) {
    // Undo and redo move within the steps; Apply keeps the known state itself.
    if (change.kind == CommitKind::Undo) return;
    const State now = Current();
    if (now == known_) return;
    const State before = known_;
    known_ = now;
    stack_->push(new ParameterStep(*this, NameOf(change), before, now));
}

void ParameterUndo::Undo() {
    stack_->undo();
}

void ParameterUndo::Redo() {
    stack_->redo();
}

void ParameterUndo::ApplyLanguage() {
    const std::uint8_t language = model_.Language();
    editMenu->setTitle(QString::fromUtf8(kEditMenu.In(language)));
    for (int i = 0; i < stack_->count(); ++i) {
        // Only this class pushes onto the stack.
        auto* step = static_cast<ParameterStep*>(const_cast<QUndoCommand*>(stack_->command(i)));
        step->Rename(language);
    }
    UpdateItems();
}

void ParameterUndo::UpdateItems() {
    // "&Undo Advance +": the step's name after the item's caption.
    auto caption = [this](const LocalizedText& item, bool can, const QString& name) {
        QString text = QString::fromUtf8(item.In(model_.Language()));
        if (can) text += ' ' + name;
        return text;
    };
    undoItem->setEnabled(stack_->canUndo());
    undoItem->setText(caption(kUndoItem, stack_->canUndo(), stack_->undoText()));
    redoItem->setEnabled(stack_->canRedo());
    redoItem->setText(caption(kRedoItem, stack_->canRedo(), stack_->redoText()));
}

}  // namespace korvan
