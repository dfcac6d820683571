object TestFrame: TTestFrame
  Left = 0
  Top = 0
  Width = 200
  Height = 80
  TabOrder = 0
  object Label1: TLabel
    Left = 8
    Top = 40
    Width = 30
    Height = 13
    Caption = '&Name'
    FocusControl = Edit1
  end
  object Button1: TButton
    Left = 8
    Top = 8
    Width = 75
    Height = 25
    Caption = 'Frame'
    TabOrder = 0
    OnClick = Button1Click
  end
  object Edit1: TEdit
    Left = 48
    Top = 40
    Width = 100
    Height = 21
    TabOrder = 1
  end
  object Timer1: TTimer
    Interval = 300
  end
end
