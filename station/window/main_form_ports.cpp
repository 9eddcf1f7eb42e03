// The ten serial components' events, the port list and the unit search.

#include "station/data/connection_config.h"
#include "station/link/firmware_upgrade.h"
#include "station/link/port_events.h"
#include "station/link/unit_discovery.h"
#include "station/window/main_form.h"

namespace zek {

void TProgramZEKFrm::LineCommReceiveData(int port, const uint8_t* buffer, uint16_t length) {
  zek::LineCommReceiveData(st_, port, buffer, length);
}

void TProgramZEKFrm::LineCommRequestHangup(int port) { zek::LineCommRequestHangup(st_, port); }

void TProgramZEKFrm::LineCommReceiveError(int port, uint32_t event_mask) {
  zek::LineCommReceiveError(st_, port, event_mask);
}

void TProgramZEKFrm::BitBtnFreshClick() {
  zek::BitBtnFreshClick(st_);
  ArrangeGauges();
}

void TProgramZEKFrm::BitBtnFindCOMClick() { zek::BitBtnFindCOMClick(st_); }

void TProgramZEKFrm::SaveCOMConfigtoFile1Click() { zek::SaveCOMConfigtoFile1Click(st_); }

void TProgramZEKFrm::FirmWareGradeXClick() { zek::FirmWareGradeXClick(st_); }

}  // namespace zek
