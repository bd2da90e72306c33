#include "terminal/link/network_link.h"

#include "terminal/link/link_session.h"

void ChooseNetworkPort(std::optional<NetworkPort> port) {
  linkSession.device.SetConnectWindow(GetAncestor(linkSession.notifyWindow, GA_ROOT));
  linkSession.device.ChooseNetworkPort(std::move(port));
}

const std::optional<NetworkPort>& ChosenNetworkPort() { return linkSession.device.NetworkChoice(); }

bool NetworkConnectUnderWay() { return linkSession.device.ConnectUnderWay(); }

void CancelNetworkConnect() { linkSession.device.CancelConnect(); }
