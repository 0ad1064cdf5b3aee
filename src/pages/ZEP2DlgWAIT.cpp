// Page WAIT. It has no field area and no default button: nothing on it can be
// answered, it only covers the time the engine's preparation takes.
#include "ZEP2DlgWAIT.h"

ZEP2FrmWAIT::ZEP2FrmWAIT(QelDialog* parent, const QelString& name, unsigned long style)
    : QelDlgFrame(parent, name, style) {
  ZEP2LoadCatalogTexts(
      "ZEP2FrmWAIT",
      {{"Frame1.Frame11.Frame112.Title", &Frame112Title},
       {"Frame1.Frame11.Frame112.Frame1121.LabelWAITOne.Title", &LabelWAITOneTitle},
       {"Frame1.Frame11.Frame112.Frame1121.LabelWAITBis.Title", &LabelWAITBisTitle},
       {"Frame1.Frame11.Frame112.Frame1121.LabelWAITTers.Title", &LabelWAITTersTitle},
       {"Frame1.Frame11.Frame112.Frame1121.LabelWAITQuatro.Title", &LabelWAITQuatroTitle}});

  Skeleton.Build(this, Frame112Title, false);
  LabelWAITOne = ZEP2NewLabel(Skeleton.Frame1121, "LabelWAITOne", LabelWAITOneTitle);
  LabelWAITBis = ZEP2NewLabel(Skeleton.Frame1121, "LabelWAITBis", LabelWAITBisTitle);
  LabelWAITTers = ZEP2NewLabel(Skeleton.Frame1121, "LabelWAITTers", LabelWAITTersTitle);
  LabelWAITQuatro = ZEP2NewLabel(Skeleton.Frame1121, "LabelWAITQuatro", LabelWAITQuatroTitle);

  SetPos();
}

void ZEP2FrmWAIT::SetPos() {
  Skeleton.SetPos();
  ZEP2StackRows({LabelWAITOne, LabelWAITBis, LabelWAITTers, LabelWAITQuatro},
                ZEP2FrameJustification);
}

ZEP2DlgWAIT::ZEP2DlgWAIT(QelInteractiveApplication* application, const QelString& name)
    : ZEP2PageDialog(application, name, WaitStyle) {}

void ZEP2DlgWAIT::Build() {
  LoadTexts("ZEP2DlgWAIT", {{"Title", &Title}}, CancelGroup,
            {{"ERRMSGWndTitle.Title", &ERRMSGWndTitle},
             {"ERRMSGTextToDisplayForWAIT.Title", &ERRMSGTextToDisplayForWAIT},
             {"ERRMSGOKTitle.Title", &ERRMSGOKTitle}});
  Frame = new ZEP2FrmWAIT(this, "PtrZEP2FrmWAIT", FrameStyle);
  FinishBuild(Frame, 0, 350);
}
