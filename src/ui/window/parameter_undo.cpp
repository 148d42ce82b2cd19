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
const LocalizedText kRead{"Čtení z jednotky", "Read from unit", "Lesen aus Zündbox"};
}  // namespace step

namespace {

const LocalizedText kEditMenu{"Úpr&avy", "&Edit", "&Bearbeiten"};
const LocalizedText kUndoItem{"&Zpět", "&Undo", "&Rückgängig"};
const LocalizedText kRedoItem{"Z&novu", "&Redo", "&Wiederholen"};

}  // namespace

QString StepName::In(std::uint8_t language) const {
    QString shown = QString::fromUtf8(text.In(language));
    if (shown.contains("%1")) shown = shown.arg(argument);
    return shown;
}

// One step: the state before and after. The first redo comes from QUndoStack::push, when the
// change has already been made.
class ParameterStep : public QUndoCommand {
  public:
    ParameterStep(ParameterUndo& owner, StepName name, const ParameterUndo::State& before,
                  const ParameterUndo::State& after)
        : owner_(owner), name_(std::move(name)), before_(before), after_(after) {
        setText(name_.In(owner_.language_));
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

ParameterUndo::ParameterUndo(QMenuBar& bar, DeviceImage& image, const std::uint8_t& language)
    : image_(image), language_(language) {
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
    ApplyLanguage();
}

ParameterUndo::~ParameterUndo() = default;

ParameterUndo::State ParameterUndo::Current() const {
    State state;
    std::copy_n(image_.bytes.begin() + kParamImageBegin, kParamImageSize, state.params.begin());
    state.extendedMonitor = extendedMonitor ? extendedMonitor() : false;
    return state;
}

void ParameterUndo::Apply(const State& state) {
    std::copy(state.params.begin(), state.params.end(), image_.bytes.begin() + kParamImageBegin);
    if (setExtendedMonitor && (!extendedMonitor || extendedMonitor() != state.extendedMonitor))
        setExtendedMonitor(state.extendedMonitor);
    if (applyChange) applyChange();
    known_ = Current();
}

void ParameterUndo::Reset() {
    stack_->clear();
    known_ = Current();
    UpdateItems();
}

bool ParameterUndo::RecordStep(const StepName& name) {
    const State now = Current();
    if (now == known_) return false;
    const State before = known_;
    known_ = now;
    stack_->push(new ParameterStep(*this, name, before, now));
    return true;
}

bool ParameterUndo::ApplyAsStep(const StepName& name, const DeviceImage& image,
                                std::optional<bool> extendedMonitor) {
    State wanted = Current();
    std::copy_n(image.bytes.begin() + kParamImageBegin, kParamImageSize, wanted.params.begin());
    if (extendedMonitor) wanted.extendedMonitor = *extendedMonitor;
    const State before = known_;
    Apply(wanted);
    known_ = before;
    return RecordStep(name);
}

void ParameterUndo::Undo() {
    stack_->undo();
}

void ParameterUndo::Redo() {
    stack_->redo();
}

void ParameterUndo::ApplyLanguage() {
    editMenu->setTitle(QString::fromUtf8(kEditMenu.In(language_)));
    for (int i = 0; i < stack_->count(); ++i) {
        // Only this class pushes onto the stack.
        auto* step = static_cast<ParameterStep*>(const_cast<QUndoCommand*>(stack_->command(i)));
        step->Rename(language_);
    }
    UpdateItems();
}

void ParameterUndo::UpdateItems() {
    // "&Undo Advance +": the step's name after the item's caption.
    auto caption = [this](const LocalizedText& item, bool can, const QString& name) {
        QString text = QString::fromUtf8(item.In(language_));
        if (can) text += ' ' + name;
        return text;
    };
    undoItem->setEnabled(stack_->canUndo());
    undoItem->setText(caption(kUndoItem, stack_->canUndo(), stack_->undoText()));
    redoItem->setEnabled(stack_->canRedo());
    redoItem->setText(caption(kRedoItem, stack_->canRedo(), stack_->redoText()));
}

}  // namespace korvan
