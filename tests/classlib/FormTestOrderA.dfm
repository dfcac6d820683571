object TestOrderForm: TTestOrderForm
  Caption = 'order'
  OldCreateOrder = False
  OnCreate = FormCreate
  OnDestroy = FormDestroy
end
