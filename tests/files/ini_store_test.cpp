#include "files/ini_store.h"

#include <gtest/gtest.h>

#include <sys/resource.h>
#include <csignal>
#include <cstdlib>
#include <filesystem>

#include "files/settings.h"
#include "null_device.h"

namespace korvan {
namespace {

const char* kExample =
    "[FORM_HLAV]\r\n"
    "Left=157\r\n"
    "Top=46\r\n"
    "ComPort=2\r\n"
    "Language=1\r\n"
    "File=C:\\Maps\\r6.ign\r\n"
    "IniDir=C:\\Maps\\r6.ign\r\n"
    "ActivePage=2\r\n"
    "[IGNITION]\r\n"
    "CheckBoxExtMonitor->Checked=0\r\n";

class TempDir : public ::testing::Test {
  protected:
    void SetUp() override {
        char tmpl[] = "/tmp/korvan-ini-XXXXXX";
        dir_ = mkdtemp(tmpl);
    }
    void TearDown() override { std::filesystem::remove_all(dir_); }
    std::string Path(const std::string& name) const { return dir_ + "/" + name; }
    std::string dir_;
};

TEST(ProfileInteger, DecimalAndHexLikeTheProfileFunctions) {
    struct Case {
        const char* text;
        std::optional<int> value;
    } cases[] = {
        {"157", 157},
        {"  46 ", 46},
        {"-12", -12},
        {"+7", 7},
        {"$20", 32},
        {"0x20", 32},
        {"0X1f", 31},
        {"$FFFFFFFF", -1},
        {"", std::nullopt},
        {"abc", std::nullopt},
        {"12abc", std::nullopt},
        {"0x", std::nullopt},
        {"$", std::nullopt},
        {"2147483648", std::nullopt},
        {"99999999999999", std::nullopt},
        {"1.5", std::nullopt},
        {"0x1G", std::nullopt},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ParseProfileInteger(c.text), c.value) << '"' << c.text << '"';
}

TEST(IniStore, FindsSectionsAndKeysWhateverTheirCaseAndBlanks) {
    IniStore store;
    store.LoadText(
        "; written by hand\n"
        "[ form_hlav ]\n"
        "  ActivePage =3\n"
        "LEFT = 0x20\n"
        "Text=\"quoted value\"\n"
        "Empty=\n"
        "[Other]\n"
        "Left=99\n");
    EXPECT_EQ(store.ReadInteger("FORM_HLAV", "ActivePage", 1), 3);
    EXPECT_EQ(store.ReadInteger("FORM_HLAV", "ActivePage ", 1), 3);
    EXPECT_EQ(store.ReadInteger("Form_Hlav", "left", 0), 32);
    EXPECT_EQ(store.ReadString("FORM_HLAV", "Text", ""), "quoted value");
    EXPECT_EQ(store.ReadInteger("FORM_HLAV", "Empty", 5), 5);
    EXPECT_EQ(store.ReadString("FORM_HLAV", "Empty", "x"), "");
    EXPECT_EQ(store.ReadInteger("FORM_HLAV", "Missing", 8), 8);
    EXPECT_EQ(store.ReadInteger("OTHER", "Left", 0), 99);
    EXPECT_EQ(store.ReadInteger("NoSuchSection", "Left", -3), -3);
}

TEST(IniStore, ByteOrderMarkAndLoneCarriageReturns) {
    IniStore store;
    store.LoadText("\xEF\xBB\xBF[PORTS]\rCOM1=/dev/ttyUSB1\r[FORM_HLAV]\r\nLeft=3\n");
    EXPECT_EQ(PortDeviceName(store, 1), "/dev/ttyUSB1");
    EXPECT_EQ(store.ReadInteger("FORM_HLAV", "Left", 0), 3);

    // Written back and read again, a file with two marks still means the same.
    store.LoadText("\xEF\xBB\xBF\xEF\xBB\xBF[A]\nk=1\n");
    IniStore again;
    again.LoadText(store.Text());
    EXPECT_EQ(store.ReadInteger("A", "k", 0), 1);
    EXPECT_EQ(again.ReadInteger("A", "k", 0), 1);
}

TEST(IniStore, TextsAreCutAt2047Characters) {
    IniStore store;
    store.LoadText("[A]\nK=" + std::string(5000, 'x') + "\n");
    EXPECT_EQ(store.ReadString("A", "K", "").size(), IniStore::kMaxTextLength);
}

TEST_F(TempDir, WritingAKeyReplacesItsLineAndKeepsEverythingElse) {
    const std::string path = Path("Korvan2.ini");
    {
        IniStore seed(path);
        seed.LoadText(
            "[PORTS]\nCOM1=/dev/ttyUSB0\n\n[form_hlav]\nLeft=1\n; note\nTop=2\n\n[X]\ny=z\n");
        ASSERT_TRUE(WriteFileAtomically(path, seed.Text()).ok);
    }
    IniStore store(path);
    ASSERT_TRUE(store.WriteString("FORM_HLAV", "Left", "157").ok);
    ASSERT_TRUE(store.WriteString("FORM_HLAV", "ActivePage ", "2").ok);
    ASSERT_TRUE(store.WriteString("IGNITION", "CheckBoxExtMonitor->Checked", "1").ok);

    std::string text;
    ASSERT_TRUE(ReadWholeFile(path, text).ok);
    EXPECT_EQ(text,
              "[PORTS]\r\nCOM1=/dev/ttyUSB0\r\n\r\n[form_hlav]\r\nLeft=157\r\n; "
              "note\r\nTop=2\r\nActivePage=2\r\n\r\n"
              "[X]\r\ny=z\r\n[IGNITION]\r\nCheckBoxExtMonitor->Checked=1\r\n");
    EXPECT_EQ(PortDeviceName(store, 1), "/dev/ttyUSB0");
    EXPECT_EQ(PortDeviceName(store, 3), "/dev/ttyS2");
}

TEST_F(TempDir, AFileThatCannotBeReadIsNeverReplaced) {
    // Something is at the settings path that the store cannot read: writing a key must not
    // replace it with a file holding that key alone.
    const std::string big = Path("big.ini");
    const std::string content = "[PORTS]\r\nCOM1=/dev/ttyUSB0\r\n" + std::string(kMaxReadSize, ';');
    ASSERT_TRUE(WriteFileAtomically(big, content).ok);
    IniStore store(big);
    EXPECT_FALSE(store.WriteString("FORM_HLAV", "Left", "5").ok);
    std::string text;
    ASSERT_TRUE(ReadWholeFile(big, text, 2 * kMaxReadSize).ok);
    EXPECT_EQ(text, content);

    std::filesystem::create_directory(Path("folder.ini"));
    IniStore folder(Path("folder.ini"));
    EXPECT_FALSE(folder.WriteString("FORM_HLAV", "Left", "5").ok);
    EXPECT_TRUE(std::filesystem::is_directory(Path("folder.ini")));
}

TEST_F(TempDir, ExampleSettingsReadBackAndAreWrittenTheSameWay) {
    IniStore store;
    store.LoadText(kExample);
    Settings defaults;
    defaults.left = 10;
    defaults.top = 20;
    const Settings s = ReadSettings(store, defaults);
    EXPECT_EQ(s.left, 157);
    EXPECT_EQ(s.top, 46);
    EXPECT_EQ(s.comPort, 2);
    EXPECT_EQ(s.language, 1);
    EXPECT_EQ(s.file, "C:\\Maps\\r6.ign");
    EXPECT_EQ(s.iniDir, "C:\\Maps\\r6.ign");
    EXPECT_EQ(s.activePage, 2);
    EXPECT_EQ(s.extendedMonitor, std::optional<bool>(false));

    IniStore fresh(Path("sub/dir/Korvan2.ini"));  // the folder is created on the first write
    ASSERT_TRUE(WriteSettings(fresh, s).ok);
    std::string text;
    ASSERT_TRUE(ReadWholeFile(fresh.Path(), text).ok);
    EXPECT_EQ(text, kExample);
}

TEST(Settings, MissingOrBadValuesGiveTheDefaults) {
    struct Case {
        const char* text;
        int left, com, language, page;
        std::optional<bool> ext;
    } cases[] = {
        {"", 10, 1, 0, 1, std::nullopt},
        {"[FORM_HLAV]\nLeft=abc\nComPort=258\nLanguage=258\nActivePage=5\n", 10, 2, 2, 1,
         std::nullopt},
        {"[FORM_HLAV]\nActivePage=0\n", 10, 1, 0, 1, std::nullopt},
        {"[FORM_HLAV]\nActivePage=260\n", 10, 1, 0, 4, std::nullopt},
        {"[FORM_HLAV]\nActivePage=x\nLeft=$20\n[IGNITION]\nCheckBoxExtMonitor->Checked=7\n", 32, 1,
         0, 1, true},
        {"[IGNITION]\nCheckBoxExtMonitor->Checked=no\n", 10, 1, 0, 1, std::nullopt},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        IniStore store;
        store.LoadText(c.text);
        Settings defaults;
        defaults.left = 10;
        const Settings s = ReadSettings(store, defaults);
        EXPECT_EQ(s.left, c.left);
        EXPECT_EQ(s.comPort, c.com);
        EXPECT_EQ(s.language, c.language);
        EXPECT_EQ(s.activePage, c.page);
        EXPECT_EQ(s.extendedMonitor, c.ext);
    }
}

TEST_F(TempDir, StateFileRoundTripsAndAMissingOneRestoresNothing) {
    DeviceImage image;
    for (std::size_t i = 0; i < kImageSize; ++i)
        image[i] = static_cast<std::uint8_t>(255 - i % 256);
    ASSERT_TRUE(SaveStateFile(Path("_Korvan2.ini"), image).ok);
    DeviceImage back;
    const StateFileLoad load = LoadStateFile(Path("_Korvan2.ini"), back);
    ASSERT_TRUE(load.present && load.understood);
    EXPECT_EQ(back, image);
    EXPECT_FALSE(LoadStateFile(Path("missing"), back).present);
    EXPECT_FALSE(LoadStateFile(dir_, back).present);  // a folder is not a state file
    EXPECT_EQ(back, image);
}

// A kill during the save must not leave a file with some keys of this run and some of the
// last: the keys are written in one replacement, so a save that fails changes nothing.
TEST_F(TempDir, SettingsAreWrittenInOneReplacement) {
    const std::string path = Path("Korvan2.ini");
    const std::string before = "[PORTS]\r\nCOM1=/dev/ttyUSB0\r\n";
    ASSERT_TRUE(WriteFileAtomically(path, before).ok);
    IniStore store(path);
    Settings s;
    s.left = 157;
    s.file = std::string(200, 'f');

    // Room for the first keys alone: a key-by-key save would leave a mix.
    rlimit old{};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &old), 0);
    auto previous = std::signal(SIGXFSZ, SIG_IGN);
    rlimit small = old;
    small.rlim_cur = before.size() + 60;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
    const WriteResult failed = WriteSettings(store, s);
    setrlimit(RLIMIT_FSIZE, &old);
    std::signal(SIGXFSZ, previous);
    EXPECT_FALSE(failed.ok);
    std::string text;
    ASSERT_TRUE(ReadWholeFile(path, text).ok);
    EXPECT_EQ(text, before);

    // A key edited by hand since the store was loaded survives the save.
    ASSERT_TRUE(WriteFileAtomically(path, before + "[FORM_HLAV]\r\nMine=1\r\n").ok);
    ASSERT_TRUE(WriteSettings(store, s).ok);
    IniStore back(path);
    ASSERT_TRUE(back.Load());
    EXPECT_EQ(back.ReadString("PORTS", "COM1", ""), "/dev/ttyUSB0");
    EXPECT_EQ(back.ReadInteger("FORM_HLAV", "Mine", 0), 1);
    EXPECT_EQ(back.ReadInteger("FORM_HLAV", "Left", 0), 157);
    EXPECT_EQ(back.ReadString("FORM_HLAV", "File", ""), s.file);
}

// A settings or state file linked to /dev/null keeps nothing, and stays a link to the device.
TEST_F(TempDir, FilesLinkedToTheNullDeviceStayLinks) {
    const std::string device = test::PrivateNullDevice(dir_);
    if (device.empty()) GTEST_SKIP() << "cannot make a null device safely";
    const std::string settings = Path("Korvan2.ini");
    const std::string state = Path("_Korvan2.ini");
    std::filesystem::create_symlink(device, settings);
    std::filesystem::create_symlink(device, state);
    IniStore store(settings);
    EXPECT_TRUE(store.Load());
    EXPECT_TRUE(WriteSettings(store, Settings{}).ok);
    DeviceImage image;
    image.bytes.fill(7);
    EXPECT_TRUE(SaveStateFile(state, image).ok);
    const StateFileLoad load = LoadStateFile(state, image);
    EXPECT_FALSE(load.present);
    EXPECT_TRUE(load.understood);
    EXPECT_EQ(image[0], 7);
    for (const std::string& p : {settings, state}) EXPECT_TRUE(std::filesystem::is_symlink(p)) << p;
    EXPECT_TRUE(std::filesystem::is_character_file(device));
}

}  // namespace
}  // namespace korvan
