// A venue's rooms at once: status and backup of sixteen rooms against one,
// each room a virtual processor served over TCP on 127.0.0.1 in this
// process. Sixteen rooms should take at most 1.3 times as long as one.
#include <benchmark/benchmark.h>

#include <unistd.h>

#include "VenueFixture.h"
#include "VenueRun.h"

namespace fs = std::filesystem;

namespace {

struct VenueRig {
    explicit VenueRig(int nRooms)
        : folder(fs::temp_directory_path() / ("zr470-venue-bench-" + std::to_string(getpid()))),
          venue(folder, nRooms)
    {
        const VenueFileResult read = ReadVenueFile(venue.VenueFile());
        rooms = read.venue.rooms;
    }
    fs::path folder;
    CEmulatedVenue venue;
    std::vector<VenueRoom> rooms;
    std::atomic<bool> bStop{false};
};

void BM_VenueStatus(benchmark::State& state)
{
    VenueRig rig(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        for (const RoomStatus& status : VenueStatus(rig.rooms, rig.bStop)) {
            if (!status.bOnline)
                state.SkipWithError(status.strReason.c_str());
        }
    }
}

void BM_VenueBackup(benchmark::State& state)
{
    VenueRig rig(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        for (const RoomResult& result : VenueBackup(rig.rooms, rig.folder / "backup", rig.bStop)) {
            if (!result.bOk)
                state.SkipWithError(result.strReason.c_str());
        }
    }
}

}  // namespace

BENCHMARK(BM_VenueStatus)->Arg(1)->Arg(16)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(5);
BENCHMARK(BM_VenueBackup)->Arg(1)->Arg(16)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(5);
