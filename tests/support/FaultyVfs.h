#pragma once

namespace quilloa::test {

// A file layer under SQLite that fails the Nth write, sync, lock or open from the moment it is
// armed, as a full disk, a failing disk or a lock another program holds would. Installed as
// the default layer, it sits under every connection of the test process, the Qt driver's
// included (both use the system SQLite library). Syncs are answered without flushing to disk.
class FaultyVfs
{
public:
    enum class Operation
    {
        Write,
        Sync,
        Lock,
        Open,
    };
    enum class Failure
    {
        IoError,  // SQLITE_IOERR_* of the operation
        DiskFull, // SQLITE_FULL, for writes
    };

    // Registers the layer as the default; later calls do nothing.
    static void install();
    enum class Lasting
    {
        Once,       // a passing fault
        FromThenOn, // every later call fails too, as a disk that stays full
    };
    // Fails the `nth` call of `operation` from now (1 is the next one).
    static void arm(Operation operation, int nth, Failure failure = Failure::IoError,
                    Lasting lasting = Lasting::Once);
    static void disarm();
    // Whether the armed failure was handed out.
    static bool fired();
};

} // namespace quilloa::test
