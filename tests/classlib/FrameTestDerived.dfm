inherited TestDerivedFrame: TTestDerivedFrame
  Width = 260
  inherited Button1: TButton
    Caption = 'Derived'
  end
  object Edit2: TEdit
    Left = 8
    Top = 64
    Width = 100
    Height = 21
    TabOrder = 2
  end
end
