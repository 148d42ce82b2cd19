// The port dialog's "Check" button: the doctor runs off the window's thread and its findings,
// each with the fix, appear in the dialog in the dialog's language.
#include <gtest/gtest.h>

#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QThread>
#include <atomic>

#include "ui/port/port_dialog.h"

namespace korvan {
namespace {

class NoPorts : public PortLister {
  public:
    std::vector<PortDescription> List() override { return {}; }
};

DoctorReport MissingDevice(const std::string& device) {
    DoctorReport r;
    r.devices = {device};
    r.findings.push_back({FindingKind::DeviceMissing, device, {"", ""}, {}});
    return r;
}

TEST(PortCheck, FindingsAppearInTheDialogInItsLanguage) {
    NoPorts lister;
    PortDialog dialog(lister);
    std::atomic<bool> offTheWindowThread{false};
    std::string asked;
    dialog.Check().SetRunner([&](const std::string& device) {
        offTheWindowThread = QThread::currentThread() != dialog.thread();
        asked = device;
        return MissingDevice(device);
    });
    dialog.show();
    EXPECT_TRUE(dialog.Findings()->isHidden()) << "nothing checked yet";

    const struct {
        std::uint8_t language;
        const char* button;
        const char* part;
    } cases[] = {
        {0, "Zkontrolovat", "neexistuje"},
        {1, "Check", "does not exist"},
        {2, "Prüfen", "existiert nicht"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.button);
        dialog.SetLanguage(c.language);
        dialog.PathEdit()->setText(" /dev/ttyUSB7 ");
        EXPECT_EQ(dialog.CheckButton()->text(), QString::fromUtf8(c.button));
        QSignalSpy done(&dialog.Check(), &PortCheck::Finished);
        QTest::mouseClick(dialog.CheckButton(), Qt::LeftButton);
        EXPECT_FALSE(dialog.CheckButton()->isEnabled()) << "one check at a time";
        ASSERT_TRUE(done.wait(5000));
        EXPECT_TRUE(offTheWindowThread);
        EXPECT_EQ(asked, "/dev/ttyUSB7");
        EXPECT_FALSE(dialog.Findings()->isHidden());
        const QString text = dialog.Findings()->toPlainText();
        EXPECT_TRUE(text.contains(QString::fromUtf8(c.part))) << text.toStdString();
        EXPECT_TRUE(text.contains("/dev/ttyUSB7"));
        EXPECT_TRUE(dialog.CheckButton()->isEnabled());
    }
}

TEST(PortCheck, AnEmptyPathChecksEveryAdapter) {
    NoPorts lister;
    PortDialog dialog(lister);
    std::string asked = "unset";
    dialog.Check().SetRunner([&](const std::string& device) {
        asked = device;
        DoctorReport r;
        r.findings.push_back({FindingKind::DeviceMissing, "", {"", ""}, {}});
        return r;
    });
    QSignalSpy done(&dialog.Check(), &PortCheck::Finished);
    dialog.PathEdit()->clear();
    dialog.CheckButton()->click();
    ASSERT_TRUE(done.wait(5000));
    EXPECT_EQ(asked, "");
    EXPECT_TRUE(dialog.Findings()->toPlainText().contains("No USB serial adapter"));
}

TEST(PortCheck, ClosingTheDialogDuringACheckWaitsForIt) {
    NoPorts lister;
    std::atomic<bool> finished{false};
    {
        PortDialog dialog(lister);
        dialog.Check().SetRunner([&](const std::string& device) {
            QThread::msleep(200);
            finished = true;
            return MissingDevice(device);
        });
        dialog.CheckButton()->click();
    }
    EXPECT_TRUE(finished) << "the dialog went while its check still ran";
    QCoreApplication::processEvents();  // the queued result finds no dialog: nothing happens
}

}  // namespace
}  // namespace korvan
