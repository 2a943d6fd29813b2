// A macro recorded and saved in the editor, then stored for a button with the device
// layer's macro store (what the main window does on binding), lands byte for byte
// in a real pallix-vmouse's memory.
#include "device/CIcRK44.h"
#include "device/DefaultTables.h"
#include "device/HidPathOpener.h"
#include "device/MemoryMap.h"
#include "device/TransferEngine.h"
#include "macro/ScriptUpload.h"
#include "platform/VirtualHidBackend.h"
#include "tests/support/VmouseProcess.h"
#include "tests/macroeditor/EditorFixture.h"

namespace pallix::test {
namespace {

class BindToMouse : public EditorFixture {};

TEST_F(BindToMouse, RecordedMacroLandsInTheMouseMemory) {
    VmouseProcess vmouse(env, "macroed");
    ASSERT_TRUE(vmouse.Ready());

    OpenMacro("Burst");
    Record();  // real time
    Key(QEvent::KeyPress, Qt::Key_Shift, 42 + 8);
    now += 300;
    Tap(Qt::Key_G);
    now += 2000;
    Key(QEvent::KeyRelease, Qt::Key_Shift, 42 + 8);
    QTest::mousePress(Window(), Qt::LeftButton, {}, editor->List()->geometry().center());
    now += 120;
    QTest::mouseRelease(Window(), Qt::LeftButton, {}, editor->List()->geometry().center());
    Wheel(-120);
    QTest::mouseClick(Window(), Qt::LeftButton, {}, CentreOf(CSkinMacroDlg::IDC_STOP));
    ASSERT_FALSE(editor->Recording());
    editor->Lines().SetSelection({});  // appended, not inserted before the wheel line
    editor->SelectCommand(0);  // "Page UP"
    editor->OnCommand(CSkinMacroDlg::IDC_INSERT);
    const Bytes script = Script();
    EXPECT_EQ(script, (Bytes{0x71, 0x01, 6, 0x0A, 0x8A, 0x01, 40, 0xF1, 0x78, 0x01, 2, 0xF8, 0x7E,
                             0x83, 0x80}));
    editor->OnCommand(CSkinMacroDlg::IDOK);

    const macro::UploadBytes upload = macro::UploadBytesOfMacro(folder, "Burst");
    ASSERT_EQ(upload.count, static_cast<int>(script.size()));

    auto opener = std::make_shared<BackendPathOpener>(
        std::vector<std::shared_ptr<HidBackend>>{std::make_shared<VirtualHidBackend>()});
    CIcRK44 memory{opener, [](int) {}};
    CDefaultTables tables;
    CTransferEngine engine{memory, tables, [](int) {}};
    memory.ResetCache();
    memory.SetModel(memmap::kModel1802);
    ASSERT_EQ(memory.OpenDevice(vmouse.Path()), 1);
    if (engine.StartLoad()) while (engine.Step()) {}
    ASSERT_EQ(engine.Failure(), TransferFailure::kNone);
    const int profile = editor->Profile(), button = editor->Button();
    if (engine.StartMacroStore(profile, button, upload.Script(), 0)) while (engine.Step()) {}
    ASSERT_EQ(engine.Failure(), TransferFailure::kNone);

    const Bytes image = vmouse.Memory();
    const auto slot = static_cast<std::size_t>(memmap::MacroSlot(profile, button));
    ASSERT_GE(image.size(), slot + upload.Script().size());
    EXPECT_TRUE(std::equal(upload.Script().begin(), upload.Script().end(), image.begin() + static_cast<long>(slot)));
    // The command went in as the raw bytes the mouse runs; everything else as saved.
    EXPECT_TRUE(std::equal(script.begin(), script.end() - 2, image.begin() + static_cast<long>(slot)));
    EXPECT_EQ(image[slot + script.size() - 2], 0x4B);
    EXPECT_EQ(image[slot + script.size() - 1], 0xCB);
}

}  // namespace
}  // namespace pallix::test
