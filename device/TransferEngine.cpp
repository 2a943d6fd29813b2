#include "device/TransferEngine.h"

#include "device/CIcRK44.h"
#include "device/DefaultTables.h"
#include "device/MemoryMap.h"

namespace pallix {

namespace {

// Control reports that frame a transfer.
constexpr int kStart[3] = {2, 0, 0};
constexpr int kShow[3] = {3, 3, 0};
constexpr int kEnd[3] = {3, 3, 3};
constexpr int kClose[3] = {0, 0, 0};
constexpr int kBlinkOff = 3, kBlinkCounter = 0, kBlinkNext = 1;
constexpr int kBlinkModulo = 8;
constexpr int kStoredMarker = 2;  // directory byte 1 of a stored script

}  // namespace

int MessageNumberOf(TransferFailure failure) {
    switch (failure) {
    case TransferFailure::kLoad: return 5;
    case TransferFailure::kSaveConfigure: return 6;
    case TransferFailure::kSaveScript: return 8;
    case TransferFailure::kNone: break;
    }
    return -1;
}

CTransferEngine::CTransferEngine(CIcRK44& memory, CDefaultTables& tables, Sleeper sleeper)
    : memory_(memory), tables_(tables), sleeper_(sleeper ? std::move(sleeper) : Sleeper(SleepMilliseconds)) {}

void CTransferEngine::Begin(TransferKind kind, AddressList list) {
    kind_ = kind;
    list_ = std::move(list);
    list_.position = 0;
    running_ = false;
    stepped_ = false;
    blink_ = 0;
    failure_ = TransferFailure::kNone;
    incomplete_ = false;
    written_.clear();
}

void CTransferEngine::OpenFrame(bool withShowCommand) {
    memory_.SendCommand(kStart[0], kStart[1], kStart[2]);
    Pause(kOpenPauseMs);
    blink_ = 0;
    if (withShowCommand && !quiet_) memory_.SendCommand(kShow[0], kShow[1], kShow[2]);
}

void CTransferEngine::SendEndCommand() {
    if (!quiet_) memory_.SendCommand(kEnd[0], kEnd[1], kEnd[2]);
}

void CTransferEngine::CloseIfConfiguration() {
    if (kind_ != TransferKind::kApply && kind_ != TransferKind::kRestore) return;
    memory_.SendCommand(kClose[0], kClose[1], kClose[2]);
    Pause(kClosePauseMs);
}

bool CTransferEngine::Finish(TransferFailure failure) {
    running_ = false;
    failure_ = failure;
    if (stepped_) SendEndCommand();
    if (kind_ == TransferKind::kLoad && failure == TransferFailure::kNone) tables_.RewriteForModel(memory_.Model());
    CloseIfConfiguration();
    return false;
}

bool CTransferEngine::StartLoad() {
    Begin(TransferKind::kLoad, BuildLoadList());
    stepped_ = true;
    OpenFrame(true);
    running_ = true;
    return Step();  // the first byte at once, the others on the timer
}

bool CTransferEngine::StartApply(int profile) {
    Begin(TransferKind::kApply, BuildApplyList(memory_, profile));
    return StartBulk();
}

bool CTransferEngine::StartRestore(int profile) {
    Begin(TransferKind::kRestore, SetCacheToDefaults(memory_, tables_, profile));
    return StartBulk();
}

bool CTransferEngine::StartMacroStore(int profile, int button, std::span<const std::uint8_t> script, int mode) {
    using namespace memmap;
    Begin(TransferKind::kMacro, {});
    const bool valid = profile >= 0 && profile < kProfileCount && button >= 0 && button < kButtonCount &&
                       script.size() <= static_cast<std::size_t>(kMacroSlotSize);
    if (!valid) return Finish(TransferFailure::kSaveScript);

    memory_.SendCommand(kStart[0], kStart[1], kStart[2]);
    Pause(kOpenPauseMs);
    const int length = static_cast<int>(script.size());
    const int entry = DirectoryEntry(profile, button);
    const AddressValue directory[] = {
        {entry + 0, static_cast<std::uint8_t>(length & 0xFF)},
        {entry + 1, kStoredMarker},
        {entry + 3, static_cast<std::uint8_t>(((length >> 8) << 4) | (mode & 0x0F))},
    };
    for (const auto& [address, value] : directory) {
        const bool needed = !(memory_.Entry(address).valid && !memory_.Entry(address).dirty &&
                              memory_.Entry(address).value == value);
        // A directory that says "stored" over a script that is not would run garbage.
        if (!memory_.WriteThrough(address, value)) return Finish(TransferFailure::kSaveScript);
        if (needed) written_.push_back({address, value});
        Pause(kStepMs);
    }
    const int slot = MacroSlot(profile, button);
    for (int i = 0; i < length; ++i)
        if (memory_.SetCached(slot + i, script[static_cast<std::size_t>(i)])) list_.addresses.push_back(slot + i);
    return StartBulk();
}

bool CTransferEngine::StartBulk() {
    if (list_.Count() == 0) return Finish(TransferFailure::kNone);
    if (list_.Count() < kSteppedFrom) {
        for (; list_.position < list_.Count(); ++list_.position) {
            if (!WriteOne()) {
                incomplete_ = true;
                break;
            }
            Pause(kStepMs);
        }
        return Finish(TransferFailure::kNone);
    }
    stepped_ = true;
    OpenFrame(kind_ != TransferKind::kMacro);
    running_ = true;
    return true;
}

bool CTransferEngine::ReadOne() {
    const int address = list_.addresses[static_cast<std::size_t>(list_.position)];
    int value = 0;
    if (!memory_.ReadByte(address, value)) return false;
    memory_.StoreClean(address, value);
    return true;
}

bool CTransferEngine::WriteOne() {
    const int address = list_.addresses[static_cast<std::size_t>(list_.position)];
    if (!CIcRK44::InRange(address)) return false;
    const CacheEntry& e = memory_.Entry(address);
    if (!e.dirty) return true;
    const int value = e.value;
    if (!memory_.WriteByte(address, value)) return false;
    memory_.StoreClean(address, value);
    written_.push_back({address, static_cast<std::uint8_t>(value & 0xFF)});
    return true;
}

void CTransferEngine::AfterStep() {
    ++list_.position;
    if (kind_ == TransferKind::kMacro || quiet_ || list_.position % kBlinkEvery != 0) return;
    memory_.SendCommand(kBlinkOff, kBlinkCounter, blink_ & 0xFF);
    memory_.SendCommand(kBlinkOff, kBlinkNext, (blink_ + 1) % kBlinkModulo);
    ++blink_;
}

bool CTransferEngine::Step() {
    if (!running_) return false;
    const bool ok = kind_ == TransferKind::kLoad ? ReadOne() : WriteOne();
    if (!ok) {
        return Finish(kind_ == TransferKind::kLoad    ? TransferFailure::kLoad
                      : kind_ == TransferKind::kMacro ? TransferFailure::kSaveScript
                                                      : TransferFailure::kSaveConfigure);
    }
    AfterStep();
    if (list_.position >= list_.Count()) return Finish(TransferFailure::kNone);
    return true;
}

void CTransferEngine::Abort() {
    if (!running_) return;
    running_ = false;
    Pause(kStepMs);
    SendEndCommand();
}

}  // namespace pallix
