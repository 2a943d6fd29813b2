// Reading a device that has no input descriptor: the reader polls it.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QElapsedTimer>

#include "monitor/MouseInput.h"
#include "tests/hid/ScriptedBackend.h"

namespace pallix::monitor {
namespace {

TEST(MouseInputTest, DeviceWithoutDescriptorIsPolledAndKeepsItsButtonState) {
    int argc = 1;
    char name[] = "mouse_input";
    char* argv[] = {name, nullptr};
    QCoreApplication app(argc, argv);
    auto backend = std::make_shared<test::ScriptedBackend>();
    backend->state->devices.push_back({"scripted:1", 1, 1, 0x1802, {}, {}});
    std::vector<std::vector<std::uint8_t>> seen;
    std::vector<std::uint8_t> buttonsBefore;
    MouseInput input({backend}, [&](const InputNode& node, const std::uint8_t* data, std::size_t length,
                                    std::uint8_t& buttons) {
        EXPECT_EQ(node.path, "scripted:1");
        seen.emplace_back(data, data + length);
        buttonsBefore.push_back(buttons);
        buttons = data[1];
    });
    InputNode present, missing;
    present.path = "scripted:1";
    missing.path = "scripted:missing";
    EXPECT_EQ(input.Open({present, missing}), 1);
    backend->state->inputs = {{0x01, 0x08, 0, 0, 0}, {0x01, 0x00, 0, 0, 0}};
    QElapsedTimer clock;
    clock.start();
    while (seen.size() < 2 && clock.elapsed() < 2000) QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
    ASSERT_EQ(seen.size(), 2u);
    EXPECT_EQ(buttonsBefore, (std::vector<std::uint8_t>{0x00, 0x08}));
    input.Close();
    backend->state->inputs = {{0x01, 0x10, 0, 0, 0}};
    clock.restart();
    while (clock.elapsed() < 100) QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 20);
    EXPECT_EQ(seen.size(), 2u);
}

}  // namespace
}  // namespace pallix::monitor
