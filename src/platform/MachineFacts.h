#pragma once

#include <QString>

// What the programs need to know about the computer they run on.
namespace MachineFacts {

// A stable identifier of this computer: the systemd machine id
// (/etc/machine-id, else /var/lib/dbus/machine-id); null when there is none.
QString machineId();

// The name the user gave the computer: $TX_COMPUTER_NAME when set (tests and
// demos name the machine with it), else PRETTY_HOSTNAME of /etc/machine-info,
// else the host name.
QString computerName();

// Major and minor version of the running system, such as "12.0".
QString systemVersion();

}  // namespace MachineFacts
