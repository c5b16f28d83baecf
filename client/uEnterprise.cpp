// The enterprise-number window; see uEnterprise.h.
#include "client/uEnterprise.h"

TPublishedTable TEnterpriseNubmerFrm::Published() {
  using F = TEnterpriseNubmerFrm;
  return {KARV_FIELDS(F, GroupBox1, Label1, yNumber, Label2, yLinkScript, Label3, Label4, yNetScript)};
}
