// The window's network port (rfc2217://, socket://), chosen beside portNumber
// by the address dialog or the command line, for the window's commands and
// its status bar. window_device.h tells how it is connected.
#pragma once

#include <optional>
#include <string>

#include "terminal/link/network_port.h"

struct LinkSession;

// The next connect's port; nullopt: the COM port of portNumber again.
void ChooseNetworkPort(LinkSession& session, std::optional<NetworkPort> port);
const std::optional<NetworkPort>& ChosenNetworkPort(const LinkSession& session);

// A connect running in the background: the connect command tells the user it
// is under way instead of failing; the disconnect command cancels it.
bool NetworkConnectUnderWay(const LinkSession& session);
void CancelNetworkConnect(LinkSession& session);
