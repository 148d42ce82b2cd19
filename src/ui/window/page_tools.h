// The editing tools of the parameter pages: the advance buttons (and the Tools menu's advance
// items), the column spin buttons under the map, the servo buttons and the TPS calibration
// buttons. Each takes what the controls hold, changes the image at the live cursor (or all of
// it with "All") and commits once to the model with the tool's name.
#pragma once

#include <QObject>

namespace korvan {

class DeviceLink;
class MainMenu;
class ParameterModel;
class ParameterPages;
class TCSpinButton;
struct MapCursor;

class PageTools : public QObject {
    Q_OBJECT

  public:
    // Connects the tool buttons of `pages` and the advance items of `menu`; the TPS buttons
    // take the live values of `link`. A child of `pages`.
    PageTools(ParameterPages& pages, ParameterModel& model, const DeviceLink& link,
              const MapCursor& cursor, const MainMenu& menu);

    // One degree of advance at the cursor's cell (or the whole map) down or up.
    void StepAdvanceAtCursor(int delta);
    // One degree of the column of `spin`.
    void StepColumn(TCSpinButton* spin, int delta);
    // 20 mV at the servo point in use (or every point) down or up.
    void StepServoAtCursor(int delta);
    // The throttle voltage of the last monitor frame as 0 % or 100 %.
    void SetTps0();
    void SetTps100();

  private:
    ParameterPages& pages_;
    ParameterModel& model_;
    const DeviceLink& link_;
    const MapCursor& cursor_;
};

}  // namespace korvan
