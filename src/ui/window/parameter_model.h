// The tune the window edits, as one observable object: the parameter image, the "Extended
// Monitor" flag that travels with it (parameter files, restore points, undo), what the unit
// holds, and the language everything is shown in. Collaborators read it, change it and say so
// with one Commit; every change reaches everyone through the Changed signal, already
// normalised, with what changed and why. Nobody passes "the image changed" on by hand.
//
// A commit may change many bytes at once (an axis moved and the map resampled on it): it is
// one signal, so one undo step and one programming of the unit.
#pragma once

#include <QObject>
#include <QString>
#include <cstdint>
#include <string>
#include <vector>

#include "history/unit_tracker.h"
#include "params/device_image.h"
#include "params/localized_text.h"

namespace korvan {

// Why the image changed. The undo history names its step by the kind (ParameterUndo owns that
// mapping) unless the commit carries a name of its own.
enum class CommitKind {
    TypedField,    // a field left or stepped, a flag box clicked, Enter in a field
    Tool,          // an editing tool of the pages; which one: ModelChange::tool
    Open,          // a parameter file opened (its name: ModelChange::name)
    Read,          // the unit's pages read; never programmed back
    New,           // File > New: the defaults
    BikeType,      // a bike type chosen in the list: its defaults
    HistoryPoint,  // a restore point put into the editor (its name: ModelChange::name)
    Undo,          // undo or redo set an earlier state; records no step of its own
    MapOperation,  // an operation on a selection of the map; named by the caller
    CurveDrag,     // a point of a curve dragged; named by the caller
};

// The editing tools of the parameter pages, for the kind Tool.
enum class EditTool {
    None,
    AdvanceMinus,
    AdvancePlus,
    ColumnMinus,
    ColumnPlus,
    ServoMinus,
    ServoPlus,
    Tps0,
    Tps100,
};

// A name given by the caller, in three languages: a pattern with values for its %1..%9
// ("Interpolate %1 x %2 cells" with 4 and 3), or a text already finished in all three (the
// map operations name their own steps). An empty name leaves the naming to the commit kind.
struct StepName {
    LocalizedText text{nullptr, nullptr, nullptr};
    std::vector<std::string> args;
    Phrase finished;

    StepName() = default;
    template <typename... Args>
    explicit StepName(const LocalizedText& pattern, const Args&... values)
        : text(pattern), args{TextArg(values).Text()...} {}
    explicit StepName(Phrase done) : finished(std::move(done)) {}

    bool Given() const { return text.english != nullptr || !finished.Empty(); }
    QString In(std::uint8_t language) const;
};

// What changed in a commit (compared with the state of the last commit).
enum ChangedPart : unsigned {
    kNothingChanged = 0,
    kParametersChanged = 1u << 0,       // a byte of the parameter and map pages
    kExtendedMonitorChanged = 1u << 1,  // the "Extended Monitor" flag
    kOtherBytesChanged = 1u << 2,       // the identity page (a read)
};

struct ModelChange {
    CommitKind kind = CommitKind::TypedField;
    EditTool tool = EditTool::None;
    // Where a whole set came from: the file's name (Open), the restore point's (HistoryPoint).
    std::string subject;
    // A name of the caller's for the undo step; empty: named by the kind.
    StepName name;
    // ChangedPart bits, filled in by the model.
    unsigned parts = kNothingChanged;

    ModelChange() = default;
    explicit ModelChange(CommitKind k, StepName n = {}) : kind(k), name(std::move(n)) {}
    ModelChange(CommitKind k, std::string from) : kind(k), subject(std::move(from)) {}
    static ModelChange ByTool(EditTool t) {
        ModelChange c(CommitKind::Tool);
        c.tool = t;
        return c;
    }
    bool Changed(ChangedPart part) const { return (parts & part) != 0; }
};

class ParameterModel : public QObject {
    Q_OBJECT

  public:
    explicit ParameterModel(QObject* parent = nullptr);

    const DeviceImage& Image() const { return image_; }
    // The image to change in place before a Commit. The device link writes what it reads
    // into it too (then the window commits with the kind Read).
    DeviceImage& MutableImage() { return image_; }

    // "Extended Monitor": saved with the parameters and undone with them.
    bool ExtendedMonitor() const { return extendedMonitor_; }
    // Sets the flag now (the box clicked, a setting loaded); not a commit of its own.
    void SetExtendedMonitor(bool extended);

    // Normalises the image (limits, axis orderings), lets the Committing slots complete the
    // change, and emits Changed, always: a typed value that normalising took back must still
    // be shown again.
    // Returns what changed (ChangedPart bits).
    unsigned Commit(ModelChange change);
    // The image as the last commit left it: what the next commit is compared with.
    const DeviceImage& CommittedImage() const { return committedImage_; }
    // The image as it is now becomes the committed state, without telling anyone: start-up,
    // once the image from the state file is complete, so the first edit is compared with it.
    void MarkCommitted();
    // A whole set replaces the image (a file, a restore point, undo), the flag too when
    // given, then Commit.
    unsigned Replace(const DeviceImage& image, ModelChange change);
    unsigned Replace(const DeviceImage& image, bool extendedMonitor, ModelChange change);
    // Normalises the image without telling anyone (start-up, before a tool works on it).
    void Normalize();
    // Before the image leaves (save, verify, program, a compare, closing): what the controls
    // hold, typed text included, into the image (EditsWanted), normalised, and shown again
    // (EditsTaken). Not a commit: it records no undo step and programs nothing.
    void TakeEdits();

    // What the unit holds, as the last Read, Program or Verify left it.
    const UnitTracker& Unit() const { return unit_; }
    void RecordUnitSuccess(const DeviceImage& held);
    void RecordUnitFailure();

    // The language of every text (0 Czech, 1 English, 2 German).
    std::uint8_t Language() const { return language_; }
    // Another index than the three is ignored.
    void SetLanguage(std::uint8_t language);

  signals:
    // During a commit, before anyone is told: the image is normalised, CommittedImage() is
    // still the state before. A slot may change the image further as part of the same change
    // (the map resampled on a moved RPM axis) and may name the step; it must not commit.
    void Committing(korvan::ModelChange& change);
    // After every commit, the image normalised. Connected slots must not commit again.
    void Changed(const korvan::ModelChange& change);
    // The flag changed, by a commit, undo or a setting.
    void ExtendedMonitorChanged(bool extended);
    // What the unit holds changed (an operation ended).
    void UnitChanged();
    void LanguageChanged(std::uint8_t language);
    // TakeEdits: write what the controls hold into the image now; then show the image again.
    void EditsWanted();
    void EditsTaken();

  private:
    unsigned PartsSinceLastCommit() const;

    DeviceImage image_{};
    bool extendedMonitor_ = false;
    // The state at the last commit, to tell what the next one changed.
    DeviceImage committedImage_{};
    bool committedExtended_ = false;
    UnitTracker unit_;
    std::uint8_t language_ = 0;
    // Set while Changed is emitted: a slot that commits again would run the others twice.
    bool emitting_ = false;
};

}  // namespace korvan

Q_DECLARE_METATYPE(korvan::ModelChange)
