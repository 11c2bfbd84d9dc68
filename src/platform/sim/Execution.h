#pragma once

namespace veltrane::sim {

// How the simulated desktop runs the application: every queue on one driver in virtual time, the
// default, deterministic and what scenarios use; or every queue on a real thread in real time,
// with the process's main queue a main loop that someone runs, to find what only real threads
// show (races, deadlocks).
enum class Execution {
    virtualTime,
    realThreads,
};

}  // namespace veltrane::sim
