#include "ui/window/tool_bar.h"

#include <QGroupBox>
#include <QPushButton>
#include <QToolButton>

#include "ui/window/tool_icons.h"
#include "ui/window/widget_factory.h"

namespace korvan {

ToolBar::ToolBar(QWidget* client) {
    // Wide enough for the German caption of the program button.
    QGroupBox* bar = MakeGroupBox(client, "GroupBox5", QString(), 3, 0, 470, 43);
    auto picture = [bar](const char* name, int x, ToolIcon icon) {
        auto* button = new QToolButton(bar);
        button->setObjectName(name);
        button->setGeometry(x, 11, 24, 23);
        button->setIcon(MakeToolIcon(icon));
        button->setAutoRaise(true);
        // A picture button never takes the focus from the field being edited.
        button->setFocusPolicy(Qt::NoFocus);
        return button;
    };
    newButton = picture("SpeedButton6", 12, ToolIcon::New);
    openButton = picture("SpeedButton5", 50, ToolIcon::Open);
    saveButton = picture("SpeedButton7", 88, ToolIcon::Save);
    printButton = picture("SpeedButtonPrint", 126, ToolIcon::Print);

    readButton = MakeButton(bar, "Button1", "&Read", 230, 10, 64, 25);
    verifyButton = MakeButton(bar, "BitBtn2", "&Verify", 296, 10, 72, 25);
    programButton = MakeButton(bar, "BitBtn1", "&Program", 370, 10, 96, 25);
}

}  // namespace korvan
