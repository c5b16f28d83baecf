// The enterprise-number window; see uEnterprise.h.
#include "client/uEnterprise.h"

TPublishedTable TEnterpriseNubmerFrm::Published() {
  using F = TEnterpriseNubmerFrm;
  return {KARV_FIELD(F, GroupBox1),   KARV_FIELD(F, Label1), KARV_FIELD(F, yNumber),
          KARV_FIELD(F, Label2),      KARV_FIELD(F, yLinkScript), KARV_FIELD(F, Label3),
          KARV_FIELD(F, Label4),      KARV_FIELD(F, yNetScript)};
}
