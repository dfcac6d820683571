object TestStoredForm: TTestStoredForm
  Left = 10
  Top = 20
  Caption = 'Stored'
  ClientHeight = 150
  ClientWidth = 250
  BorderStyle = bsSingle
  Color = clBtnFace
  OldCreateOrder = False
  OnCreate = FormCreate
  PixelsPerInch = 120
  TextHeight = 13
  object Panel1: TTestPanel
    Left = 8
    Top = 8
    Width = 200
    Height = 100
    Caption = 'outer'
    object Inner: TTestPanel
      Left = 4
      Top = 4
      Width = 80
      Height = 40
      Caption = 'inner'
      object Label1: TTestLabel
        Left = 2
        Top = 2
        Width = 30
        Height = 10
        OnClick = LabelClick
      end
    end
  end
  object Timer1: TTimer
    Interval = 250
    OnTimer = TimerTick
  end
end
