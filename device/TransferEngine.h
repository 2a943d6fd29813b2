#pragma once
// Bulk transfers between the cache and the mouse: the load of the 267 configuration
// bytes, apply, restore and the macro store. A transfer is started, and when it runs
// in steps the owner calls Step() from a 10 ms timer (one address per call) until it
// returns false. Nothing is shown here: the owner reads Failure() at the end.
//
//   if (engine.StartApply(profile)) timer.start(10);    // stepped: busy indicator
//   ...on each tick: if (!engine.Step()) { timer.stop(); if (engine.Failure() != ...) ... }
#include <cstdint>
#include <span>
#include <vector>

#include "device/Defaults.h"
#include "device/Sleeper.h"
#include "device/TransferLists.h"

namespace pallix {

class CIcRK44;
class CDefaultTables;

enum class TransferKind { kNone, kLoad, kApply, kRestore, kMacro };

// Which entry of the message table the owner shows for a failed transfer.
enum class TransferFailure {
    kNone,
    kLoad,             // 5 "Error: Failed to LOAD MOUSE CONFIGURE!"
    kSaveConfigure,    // 6 "Error: Failed to SAVE MOUSE CONFIGURE!"
    kSaveScript,       // 8 "Error: Failed to SAVE ONE SCRIPT!"
};
int MessageNumberOf(TransferFailure failure);  // -1 for kNone

class CTransferEngine {
public:
    static constexpr int kStepMs = 10;
    static constexpr int kSteppedFrom = 20;  // lists this long run on the timer
    static constexpr int kOpenPauseMs = 40;
    static constexpr int kClosePauseMs = 100;
    static constexpr int kBlinkEvery = 10;

    // The sleeper paces the transfer's own pauses (the cache's retries use the
    // sleeper of the CIcRK44).
    CTransferEngine(CIcRK44& memory, CDefaultTables& tables, Sleeper sleeper = {});

    // Started with "/Automation": no control report with first parameter 3.
    void SetQuiet(bool quiet) { quiet_ = quiet; }
    bool Quiet() const { return quiet_; }

    // Each Start returns true when steps follow (start the 10 ms timer) and false
    // when the transfer has already ended (see Failure / Incomplete).
    bool StartLoad();
    bool StartApply(int profile);
    bool StartRestore(int profile);
    // Stores a compiled script (at most 256 bytes) for button `button` of `profile`;
    // `mode` is the repeat mode nibble of the directory entry.
    bool StartMacroStore(int profile, int button, std::span<const std::uint8_t> script, int mode);

    // One timer tick: one address. False once the transfer has ended.
    bool Step();
    // The program closes during a transfer: stop and tell the mouse it ended.
    void Abort();

    bool Running() const { return running_; }
    TransferKind Kind() const { return kind_; }
    int Position() const { return list_.position; }
    int Count() const { return list_.Count(); }
    const AddressList& List() const { return list_; }
    // True when the last transfer ran on steps (the owner showed the indicator).
    bool Stepped() const { return stepped_; }

    TransferFailure Failure() const { return failure_; }
    // An immediate list stopped at a failed write (silently; the rest stays dirty).
    bool Incomplete() const { return incomplete_; }
    // Every byte written by the last transfer, in order.
    const std::vector<AddressValue>& Written() const { return written_; }

private:
    void Begin(TransferKind kind, AddressList list);
    bool StartBulk();
    void OpenFrame(bool withShowCommand);
    bool ReadOne();
    bool WriteOne();
    void AfterStep();
    bool Finish(TransferFailure failure);
    void SendEndCommand();
    void CloseIfConfiguration();
    void Pause(int ms) { sleeper_(ms); }

    CIcRK44& memory_;
    CDefaultTables& tables_;
    Sleeper sleeper_;
    bool quiet_ = false;

    TransferKind kind_ = TransferKind::kNone;
    AddressList list_;
    bool running_ = false;
    bool stepped_ = false;
    int blink_ = 0;
    TransferFailure failure_ = TransferFailure::kNone;
    bool incomplete_ = false;
    std::vector<AddressValue> written_;
};

}  // namespace pallix
