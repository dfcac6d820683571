inherited TestOldOrderForm: TTestOldOrderForm
  OldCreateOrder = True
end
