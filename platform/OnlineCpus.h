#pragma once

namespace quarvel {

// The processors online now (at least 1): the default number of a run's jobs.
int onlineCpuCount();

} // namespace quarvel
