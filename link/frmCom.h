// The invisible serial port manager: owns the serial control, the clone frame driver (cln3D),
// the settings-file object (profMain) and the program's one periodic timer (timSolid, 50 ms).
// Each tick hands received bytes to the driver, runs the driver's deadlines, runs the host's
// task (sequencer and model), and turns any link error into one report and a closed port.
//
//   frmCom com;                  // QtSerialControl, port names mapped from profMain's files
//   com.setHost(&mainWindow);
//   com.setComPortNum(3);
//   com.setComOpen(true);        // "/dev/ttyUSB2" (or the PORTS mapping) at 9600,N,8,1
//   com.timSolid().start();
#pragma once

#include "app/common/clsCmcProfileIO.h"
#include "link/clsCmcCln3Drv.h"

#include <QObject>
#include <QTimer>

#include <cstdint>
#include <memory>
#include <string>

class LinkHost;
class SerialControl;

class frmCom : public QObject {
  public:
    static constexpr std::int16_t imdMinComPortNum = 1;
    static constexpr std::int16_t imdmaxComPortNum = 10;
    static constexpr int TickIntervalMs = 50;
    static constexpr int InBufferSize = 4096;
    static constexpr int OutBufferSize = 1024;

    // Without a control the real serial port is used, with port names from the settings file
    // profMain uses (and, for a number that one does not map, the one beside the program).
    explicit frmCom(std::unique_ptr<SerialControl> control = nullptr, QObject* parent = nullptr);
    // Closes the port and stops the timer.
    ~frmCom() override;
    frmCom(const frmCom&) = delete;
    frmCom& operator=(const frmCom&) = delete;

    clsCmcCln3Drv cln3D;
    clsCmcProfileIO profMain;

    SerialControl& MsCom() { return *serial; }
    const SerialControl& MsCom() const { return *serial; }
    QTimer& timSolid() { return timer; }

    void setHost(LinkHost* value) { host = value; }
    LinkHost* Host() const { return host; }

    // Port closed, COM 1, 9600 bits per second, line configuration, error flags cleared.
    void Reset();
    bool comOpen() const;
    // Opens or closes the port; a failed open sets errCannotOpen. The driver is reset either way.
    void setComOpen(bool bo);
    bool comSendEnable() const { return comOpen(); }
    std::int16_t comPortNum() const { return portNum; }
    // Values outside 1..10 are ignored.
    void setComPortNum(std::int16_t value);
    std::int32_t comBaud() const { return baud; }
    void setComBaud(std::int32_t value) { baud = value; }
    // Hands a line settings text to the serial control unchanged.
    void setLnkSettings(const std::string& settings);
    bool errCannotOpen() const { return cannotOpen; }
    void setErrCannotOpen(bool value) { cannotOpen = value; }
    bool errOverflow() const { return overflow; }
    void setErrOverflow(bool value) { overflow = value; }
    // The driver's current cycle failed, or a port error flag is set.
    bool totalError() const;

    // Closes the port, then saves the settings through the host.
    void AllOver();
    void saveData(clsCmcProfileIO& prof);
    void loadData(clsCmcProfileIO& prof);

    // One tick (also run by the receive event). A tick that would start inside an earlier
    // tick, or while a modal window is open, is skipped: the received bytes wait in the port.
    void timSolid_Timer();
    // A communication event of the serial control (SerialControl::CommEvent codes).
    void MsCom_OnComm(int commEvent);

  private:
    std::unique_ptr<SerialControl> serial;
    QTimer timer;
    LinkHost* host = nullptr;
    std::int16_t portNum = 1;
    std::int32_t baud = 9600;
    bool cannotOpen = false;
    bool overflow = false;
    bool inTick = false;
};
