// Undo and redo of every change to the parameters. Owns the one QUndoStack of the window, the
// Edit menu with its Undo and Redo items, and the names of the steps. Every commit of the model
// becomes a step, named by its kind (or by the name the commit carries); a step holds the
// parameter pages (and the "Extended Monitor" state) before and after, and undoing or redoing
// puts them back into the model as a commit of the kind Undo, which everyone shows as any
// other change (and programs when "Programming after change" is on).
//
// The history keeps the state it last recorded or applied. A commit is compared with it: a
// change that touched no byte records nothing.
#pragma once

#include <QObject>
#include <QString>
#include <array>
#include <cstdint>

#include "params/device_image.h"
#include "params/localized_text.h"
#include "ui/window/parameter_model.h"

class QAction;
class QMenu;
class QMenuBar;
class QUndoStack;

namespace korvan {

// The names of the window's steps.
namespace step {
extern const LocalizedText kEdit;
extern const LocalizedText kAdvanceMinus;
extern const LocalizedText kAdvancePlus;
extern const LocalizedText kColumnMinus;
extern const LocalizedText kColumnPlus;
extern const LocalizedText kServoMinus;
extern const LocalizedText kServoPlus;
extern const LocalizedText kTps0;
extern const LocalizedText kTps100;
extern const LocalizedText kNew;
extern const LocalizedText kBikeType;
extern const LocalizedText kOpen;       // "%1": the file name
extern const LocalizedText kOpenPoint;  // "%1": the restore point's file name
extern const LocalizedText kRead;
}  // namespace step

class ParameterUndo : public QObject {
    Q_OBJECT

  public:
    // At least this many steps are kept; the oldest go first.
    static constexpr int kStepLimit = 1000;

    // The parameter pages and the monitor's "Extended Monitor" state.
    struct State {
        std::array<std::uint8_t, kParamImageSize> params{};
        bool extendedMonitor = false;
        bool operator==(const State& o) const {
            return params == o.params && extendedMonitor == o.extendedMonitor;
        }
        bool operator!=(const State& o) const { return !(*this == o); }
    };

    // Adds the Edit menu after the first menu of `bar` and records the commits of `model`,
    // which must outlive this object.
    ParameterUndo(QMenuBar& bar, ParameterModel& model);
    ~ParameterUndo() override;

    // The name of the step a commit makes (in three languages).
    static StepName NameOf(const ModelChange& change);

    // Forgets every step; the current state becomes the base (after start-up).
    void Reset();

    void Undo();
    void Redo();
    QUndoStack& Stack() const { return *stack_; }
    // The captions follow the language.
    void ApplyLanguage();

    QMenu* editMenu = nullptr;    // "MenuEdit"
    QAction* undoItem = nullptr;  // "MenuUndo"
    QAction* redoItem = nullptr;  // "MenuRedo"

  private:
    friend class ParameterStep;
    State Current() const;
    void Apply(const State& state);
    void UpdateItems();
    // Records the change from the last recorded state to the current one as one step.
    void Record(const ModelChange& change);

    ParameterModel& model_;
    QUndoStack* stack_ = nullptr;
    State known_;
};

}  // namespace korvan
