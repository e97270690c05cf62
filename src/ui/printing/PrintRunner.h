#pragma once

#include <QString>

#include <functional>
#include <memory>

class QWidget;

namespace quilloa {

class PageDevice;
class PrintQueue;

// Runs one printout on a page device and tells the user, in one wording for every window,
// when it did not reach the printer. Without a device of its own it prints on the system's
// default printer as a job of the given name.
class PrintRunner
{
public:
    using Drawing = std::function<bool(PageDevice&)>;
    using DeviceFactory = std::function<std::unique_ptr<PageDevice>()>;

    // The print service the program uses: the system's (libcups; Qt's print engine on Windows).
    static PrintQueue& systemQueue();
    // The device that prints on the default printer of `queue` as one job of that name.
    static std::unique_ptr<PageDevice> systemDevice(PrintQueue& queue, const QString& jobName);

    static bool print(QWidget* parent, const Drawing& drawing, const QString& jobName,
                      const DeviceFactory& factory = {});
    static void showFailure(QWidget* parent, const QString& reason);
};

} // namespace quilloa
