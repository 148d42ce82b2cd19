#include "files/state_file.h"
#include "tests/ui/window/offscreen_main.h"
#include "tests/ui/window/window_fixture.h"

namespace korvan::testing {

void WindowTest::WriteStateFile(const DeviceImage& image) {
    WriteFile(kStateFileName, QByteArray::fromStdString(StateFileText(image)));
}

}  // namespace korvan::testing

int main(int argc, char** argv) {
    return korvan::testing::RunWindowTests(argc, argv);
}
