// SPDX-License-Identifier: GPL-3.0-or-later
// The serial port manager: owns the serial control and the clone frame driver (cln3D). It
// opens and closes the port with its fixed line settings (9600,N,8,1, DTR and RTS on), hands
// the received bytes to the driver, and keeps the port's error state: a port that could not be
// opened, or one that went away under the program. Upward it only signals: bytes arrived (the
// tick runs at once), the port was lost.
//
//   frmCom com(std::make_unique<QtSerialControl>(portsFile));
//   com.setComPortNum(3);
//   com.setComOpen(true);        // "/dev/ttyUSB2" (or the PORTS mapping) at 9600,N,8,1
//   com.serviceLine();           // on every tick: received bytes to the driver, its deadlines
#pragma once

#include "link/clsCmcCln3Drv.h"
#include "platform/SerialControl.h"

#include <QObject>

#include <cstdint>
#include <memory>

class frmCom : public QObject {
    Q_OBJECT

  public:
    static constexpr std::int16_t imdMinComPortNum = 1;
    static constexpr std::int16_t imdmaxComPortNum = 10;
    static constexpr int InBufferSize = 4096;
    static constexpr int OutBufferSize = 1024;

    explicit frmCom(std::unique_ptr<SerialControl> control, QObject* parent = nullptr);
    // Closes the port.
    ~frmCom() override;
    frmCom(const frmCom&) = delete;
    frmCom& operator=(const frmCom&) = delete;

    clsCmcCln3Drv cln3D;

    SerialControl& MsCom() { return *serial; }
    const SerialControl& MsCom() const { return *serial; }

    // Port closed, COM 1, line configuration, error flags cleared.
    void Reset();
    bool comOpen() const;
    // Opens or closes the port; a failed open sets errCannotOpen. The driver is reset either way.
    // A port lost since the last Reset stays closed.
    void setComOpen(bool bo);
    bool comSendEnable() const { return comOpen(); }
    std::int16_t comPortNum() const { return portNum; }
    // Values outside 1..10 are ignored.
    void setComPortNum(std::int16_t value);
    bool errCannotOpen() const { return cannotOpen; }
    // The open port went away under the program (device removed, a read or write failed for
    // good). Until Reset the port is not opened again: the radio on the far end may have been
    // switched off or re-plugged and left its adjustment state, so nothing more may be sent
    // before the technician connects anew.
    bool errPortLost() const { return lost; }
    // The driver's current cycle failed, or a port error flag is set.
    bool totalError() const;

    // The link's part of every tick: the received bytes to the driver, then its deadlines.
    void serviceLine();

  signals:
    // Bytes wait in the port: the tick runs at once instead of at the next timer event.
    void dataArrived();
    // The port went away; the session must end (see errPortLost).
    void portLost();

  private:
    void onCommEvent(int commEvent);

    std::unique_ptr<SerialControl> serial;
    std::int16_t portNum = 1;
    bool cannotOpen = false;
    bool lost = false;
};
