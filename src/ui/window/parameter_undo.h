// Undo and redo of every change to the parameters. Owns the one QUndoStack of the window and
// the Edit menu with its Undo and Redo items. A step holds the parameter pages (and the
// "Extended Monitor" state) before and after; undoing or redoing sets them and runs the same
// commit path as an edit (normalise, show, program when "Programming after change" is on).
//
// The history keeps the state it last recorded or applied. RecordStep compares the current
// state with it: a change that touched no byte records nothing.
#pragma once

#include <QObject>
#include <QString>
#include <array>
#include <cstdint>
#include <functional>
#include <optional>

#include "params/device_image.h"
#include "params/localized_text.h"

class QAction;
class QMenu;
class QMenuBar;
class QUndoStack;

namespace korvan {

// A step's name: a three-language text with an optional "%1" for an argument (a file name).
struct StepName {
    LocalizedText text;
    QString argument;

    QString In(std::uint8_t language) const;
};

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
extern const LocalizedText kOpen;  // "%1": the file name
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

    // Adds the Edit menu after the first menu of `bar`. `image` and `language` belong to the
    // window and must outlive this object.
    ParameterUndo(QMenuBar& bar, DeviceImage& image, const std::uint8_t& language);
    ~ParameterUndo() override;

    // What the window does for the history: the commit path after the image was set, and the
    // "Extended Monitor" state.
    std::function<void()> applyChange;
    std::function<bool()> extendedMonitor;
    std::function<void(bool)> setExtendedMonitor;

    // Forgets every step; the current state becomes the base (after start-up).
    void Reset();
    // Records the change from the last recorded state to the current one as one step named
    // `name`; returns false when no byte changed (nothing recorded).
    bool RecordStep(const StepName& name);
    // Sets the image's parameter pages (and the "Extended Monitor" state when given), runs the
    // commit path and records the result as one step: for a change made from outside the
    // editor (a restore point opened).
    bool ApplyAsStep(const StepName& name, const DeviceImage& image,
                     std::optional<bool> extendedMonitor = std::nullopt);

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

    DeviceImage& image_;
    const std::uint8_t& language_;
    QUndoStack* stack_ = nullptr;
    State known_;
};

}  // namespace korvan
