object TestOuterFrame: TTestOuterFrame
  Left = 0
  Top = 0
  Width = 300
  Height = 200
  TabOrder = 0
  object Panel1: TPanel
    Left = 0
    Top = 0
    Width = 300
    Height = 40
    Caption = 'outer'
  end
  inline Inner: TTestFrame
    Left = 10
    Top = 90
    TabOrder = 1
    inherited Button1: TButton
      Caption = 'Nested'
    end
  end
end
