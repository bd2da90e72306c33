#include "terminal/link/network_link.h"

#include "terminal/link/link_session.h"

void ChooseNetworkPort(LinkSession& session, std::optional<NetworkPort> port) {
  session.device.SetConnectWindow(GetAncestor(session.notifyWindow, GA_ROOT));
  session.device.ChooseNetworkPort(std::move(port));
}

const std::optional<NetworkPort>& ChosenNetworkPort(const LinkSession& session) {
  return session.device.NetworkChoice();
}

bool NetworkConnectUnderWay(const LinkSession& session) { return session.device.ConnectUnderWay(); }

void CancelNetworkConnect(LinkSession& session) { session.device.CancelConnect(); }
