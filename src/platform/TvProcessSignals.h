#pragma once

// Signal dispositions that the whole process keeps.
class TvProcessSignals
{
public:
    // A write past the file size limit (ulimit -f) would end the process
    // with SIGXFSZ, in the middle of a run record or a log save. Ignored,
    // the write fails with EFBIG instead and is reported like a full disk.
    static void ignoreFileSizeLimit();
};
